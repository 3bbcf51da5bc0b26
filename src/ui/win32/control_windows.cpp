// The child window of each control kind: the system's own controls, so that
// keyboard use and assistive technologies work as everywhere on the desktop.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>

#include "platform/win32/wide_text.h"
#include "ui/win32/form_view.h"

namespace qv::ui::win32 {
namespace {

// Keys typed into an editable list go to the model first, which may discard
// them.
LRESULT CALLBACK keyFilter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
  if (message == WM_CHAR) {
    const auto ch = static_cast<char32_t>(wParam);
    // Backspace, Enter and printable characters; surrogate halves and other
    // control characters pass by.
    if (ch == 8 || ch == 13 || (ch >= 32 && ch != 127 && !(ch >= 0xD800 && ch <= 0xDFFF))) {
      auto* accept = reinterpret_cast<std::function<bool(char32_t)>*>(data);
      if (!(*accept)(ch)) return 0;
    }
  }
  if (message == WM_NCDESTROY) {
    delete reinterpret_cast<std::function<bool(char32_t)>*>(data);
    RemoveWindowSubclass(hwnd, &keyFilter, 1);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

DWORD labelAlign(Align a) {
  switch (a) {
    case Align::Centre:
      return SS_CENTER;
    case Align::Right:
      return SS_RIGHT;
    case Align::Left:
      break;
  }
  return SS_LEFT;
}

}  // namespace

HWND FormView::create(Control& c) {
  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex = 0;
  switch (c.kind()) {
    case ControlKind::Label:
      // No prefix: an "&" in a text is shown, not taken for a mnemonic.
      style |= labelAlign(c.align()) | SS_NOPREFIX | SS_NOTIFY;
      if (c.border()) style |= WS_BORDER;
      break;
    case ControlKind::Image:
      style |= SS_OWNERDRAW | SS_NOTIFY;
      break;
    case ControlKind::PictureBox:
      style |= SS_OWNERDRAW;
      break;
    case ControlKind::TextBox:
      cls = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ComboBox:
      cls = L"COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL |
               (static_cast<ComboBox&>(c).style() == ComboStyle::Editable
                    ? CBS_DROPDOWN | CBS_AUTOHSCROLL
                    : CBS_DROPDOWNLIST);
      break;
    case ControlKind::CheckBox:
      // Not automatic: the model decides, and the box shows what it decided.
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_3STATE;
      break;
    case ControlKind::OptionButton:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_RADIOBUTTON;
      break;
    case ControlKind::CommandButton:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case ControlKind::Frame:
      cls = L"BUTTON";
      style |= BS_GROUPBOX;
      break;
    case ControlKind::Shape:
    case ControlKind::Menu:
      return nullptr;
  }
  HWND w = CreateWindowExW(ex, cls, L"", style, 0, 0, 0, 0, hwnd_, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!w) return nullptr;
  if (c.kind() == ControlKind::ComboBox &&
      static_cast<ComboBox&>(c).style() == ComboStyle::Editable) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(w, &info) && info.hwndItem) {
      auto& combo = static_cast<ComboBox&>(c);
      auto* accept = new std::function<bool(char32_t)>([this, &combo](char32_t key) {
        bool accepted = true;
        user([&] { accepted = combo.keyPress(key); });
        return accepted;
      });
      SetWindowSubclass(info.hwndItem, &keyFilter, 1, reinterpret_cast<DWORD_PTR>(accept));
    }
  }
  return w;
}

}  // namespace qv::ui::win32

// What a form's window does with the system's messages: user actions go to
// the model through FormView::user(); colours, pictures and shapes are
// painted from the model.

#include <windowsx.h>

#include "platform/win32/wide_text.h"
#include "runtime/program.h"
#include "ui/win32/form_view.h"
#include "ui/win32/look.h"
#include "ui/win32/pictures.h"
#include "ui/win32/view_host.h"

namespace qv::ui::win32 {

struct FormMessages {
  static std::string text(HWND w) {
    std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(w, t.data(), static_cast<int>(t.size()))));
    return win::narrow(t);
  }

  // What shows through a control that paints no background of its own: the
  // nearest container that paints one, else the window.
  static Colour backdrop(const FormView& v, const Control& c) {
    for (const Control* p = &c; p; p = p->parent())
      if (p->opaque() || p->kind() == ControlKind::PictureBox) return p->backColour();
    return v.form_.backColour();
  }

  static void command(FormView& v, Control& c, int code) {
    switch (c.kind()) {
      case ControlKind::Label:
      case ControlKind::Image:
      case ControlKind::CommandButton:
        if (code == BN_CLICKED) v.user([&c] { c.click(); });
        break;
      case ControlKind::CheckBox:
        if (code == BN_CLICKED) v.user([&c] { static_cast<CheckBox&>(c).toggle(); }, &c);
        break;
      case ControlKind::OptionButton:
        if (code == BN_CLICKED) v.user([&c] { static_cast<OptionButton&>(c).setValue(true); }, &c);
        break;
      case ControlKind::TextBox:
        if (code == EN_CHANGE && !v.syncing_) {
          std::string t = text(v.widget(c));
          v.user([&c, t] { c.setText(t); });
          v.sync(c, Property::Text);
        }
        break;
      case ControlKind::ComboBox: {
        auto& combo = static_cast<ComboBox&>(c);
        HWND w = v.widget(c);
        if (code == CBN_SELCHANGE && !v.syncing_) {
          const int index = static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0));
          if (index >= 0) v.user([&combo, index] { combo.pick(index); });
          v.sync(c, Property::Text);
        } else if (code == CBN_EDITCHANGE && !v.syncing_) {
          std::string t = text(w);
          v.user([&combo, t] { combo.setText(t); });
          v.sync(c, Property::Text);
        }
        break;
      }
      default:
        break;
    }
  }

  static LRESULT colours(FormView& v, HDC dc, HWND w, UINT message) {
    Control* c = v.control(w);
    if (!c) return 0;
    SetTextColor(dc, colorRef(c->foreColour()));
    if (c->kind() == ControlKind::TextBox || c->kind() == ControlKind::ComboBox) {
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    (void)message;
    const Colour back = backdrop(v, *c);
    SetBkColor(dc, colorRef(back));
    if (!c->opaque()) SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(brush(back));
  }

  static void draw(FormView& v, const DRAWITEMSTRUCT& item) {
    Control* c = v.control(item.hwndItem);
    if (!c) return;
    FillRect(item.hDC, &item.rcItem, brush(backdrop(v, *c)));
    if (c->kind() == ControlKind::Image && !c->picture().empty())
      drawPicture(item.hDC, item.rcItem, c->picture());
  }

  // Shapes: rectangle outlines in their fore colour, under the controls.
  static void paint(FormView& v) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(v.hwnd_, &ps);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (Control* c : v.form_.controls()) {
      if (c->kind() != ControlKind::Shape || v.outside(*c) || !v.shown(*c)) continue;
      HPEN pen = CreatePen(PS_SOLID, 1, colorRef(c->foreColour()));
      HGDIOBJ old = SelectObject(dc, pen);
      RECT r = v.place(*c);
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
      SelectObject(dc, old);
      DeleteObject(pen);
    }
    EndPaint(v.hwnd_, &ps);
  }

  static LRESULT handle(FormView& v, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_CLOSE:
        v.user([&v] { v.program_.requestClose(v.form_); });
        return 0;
      case WM_MOUSEMOVE: {
        int button = 0;
        if (wParam & MK_LBUTTON) button |= 1;
        if (wParam & MK_RBUTTON) button |= 2;
        if (wParam & MK_MBUTTON) button |= 4;
        if (button)
          v.user([&v, button] {
            if (v.form_.onMouseMove) v.form_.onMouseMove(button);
          });
        return 0;
      }
      case WM_COMMAND:
        if (Control* c = v.control(reinterpret_cast<HWND>(lParam))) command(v, *c, HIWORD(wParam));
        return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORBTN:
        if (LRESULT b =
                colours(v, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message))
          return b;
        break;
      case WM_DRAWITEM:
        draw(v, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush(v.form_.backColour()));
        return 1;
      }
      case WM_PAINT:
        paint(v);
        return 0;
      case WM_DPICHANGED: {
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, r->left, r->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        v.dpi_ = v.fitDpi(HIWORD(wParam));
        v.layout();
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

LRESULT CALLBACK ViewHost::formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* view = reinterpret_cast<FormView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!view || view->detached()) return DefWindowProcW(hwnd, message, wParam, lParam);
  return FormMessages::handle(*view, hwnd, message, wParam, lParam);
}

}  // namespace qv::ui::win32

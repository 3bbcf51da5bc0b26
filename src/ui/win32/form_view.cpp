#include "ui/win32/form_view.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "runtime/program.h"
#include "ui/win32/dpi.h"
#include "ui/win32/look.h"
#include "ui/win32/pictures.h"
#include "ui/win32/view_host.h"

namespace qv::ui::win32 {
namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

// A tool window's narrow title bar has a close box only, and leaves its
// caption the room of a small window.
DWORD formStyle(const Form& f) {
  return f.toolWindow() ? kFormStyle & ~WS_MINIMIZEBOX : kFormStyle;
}
DWORD formExStyle(const Form& f) {
  return f.toolWindow() ? kFormExStyle | WS_EX_TOOLWINDOW : kFormExStyle;
}

// Rows of a combo box's drop-down list.
constexpr int kListRows = 20;

std::wstring textOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

FormView::FormView(Program& program, Form& form, ViewHost& host)
    : program_(program), form_(form), host_(host) {
  observer_ = form_.observe([this](Control* c, Property p) { changed(c, p); });
  if (form_.visible()) syncWindow(Property::Shown);
}

FormView::~FormView() {
  detach();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

HWND FormView::widget(const Control& control) const {
  auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

Control* FormView::control(HWND hwnd) const {
  auto it = controls_.find(hwnd);
  return it == controls_.end() ? nullptr : it->second;
}

void FormView::detach() {
  if (detached_) return;
  detached_ = true;
  form_.unobserve(observer_);
  widgets_.clear();
  controls_.clear();
  fitted_.clear();
  pendingItems_.clear();
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void FormView::user(const std::function<void()>& action, Control* resync) {
  if (detached_) return;
  program_.dispatch(action);
  if (!detached_ && resync) sync(*resync, Property::Value);
}

bool FormView::outside(const Control& control) const {
  if (control.holder()) return true;
  int left = control.left(), top = control.top();
  for (Control* p = control.parent(); p; p = p->parent()) {
    left += p->left();
    top += p->top();
  }
  return left >= form_.width() || top >= form_.height() || left + control.width() <= 0 ||
         top + control.height() <= 0;
}

bool FormView::shown(const Control& control) const {
  for (const Control* c = &control; c; c = c->parent())
    if (!c->visible()) return false;
  return true;
}

RECT FormView::place(const Control& control) const {
  int left = control.left(), top = control.top();
  for (Control* p = control.parent(); p; p = p->parent()) {
    left += p->left();
    top += p->top();
  }
  RECT r{px(left, dpi_), px(top, dpi_), px(left + control.width(), dpi_),
         px(top + control.height(), dpi_)};
  return r;
}

void FormView::build() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ViewHost::formProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"QuorvaneForm";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  const bool placed = form_.left() || form_.top();
  const int at = systemDpi();
  hwnd_ = CreateWindowExW(formExStyle(form_), L"QuorvaneForm", win::shown(form_.caption()).c_str(),
                          formStyle(form_), placed ? px(form_.left(), at) : CW_USEDEFAULT,
                          placed ? px(form_.top(), at) : CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  dpi_ = fitDpi(windowDpi(hwnd_));
  const std::string icon = form_.icon().empty() ? "app" : form_.icon();
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(pictureIcon(icon, GetSystemMetrics(SM_CXSMICON))));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(pictureIcon(icon, GetSystemMetrics(SM_CXICON))));
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);

  for (Control* c : form_.controls()) {
    if (c->kind() == ControlKind::Menu || c->kind() == ControlKind::Shape || outside(*c)) continue;
    if (c->parent() && !widgets_.count(c->parent())) continue;  // its frame is not shown
    if (HWND made = create(*c)) {
      // A new child goes below its siblings; here, as in the model, a
      // control declared later lies above those before it (a frame's
      // contents above the frame).
      SetWindowPos(made, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      widgets_[c] = made;
      controls_[made] = c;
      TTTOOLINFOW tool{};
      // The size comctl32 of every version takes.
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = hwnd_;
      tool.uId = reinterpret_cast<UINT_PTR>(made);
      tool.lpszText = const_cast<wchar_t*>(L"");
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
      syncAll(*c);
    }
  }
  layout();
  syncWindow(Property::Topmost);
}

// The window's size and every control's place and font, at the window's dpi.
void FormView::layout() {
  RECT r{0, 0, px(form_.width(), dpi_), px(form_.height(), dpi_)};
  adjustForDpi(r, formStyle(form_), formExStyle(form_), dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  keepInside();
  for (auto& [c, w] : widgets_) {
    Control& each = *const_cast<Control*>(c);
    sync(each, Property::Geometry);
    sync(each, Property::Font);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int FormView::fitDpi(int monitorDpi) const {
  return fittingDpi(form_.width(), form_.height(), kFormStyle, kFormExStyle, monitorDpi,
                    workArea(hwnd_));
}

void FormView::keepInside() {
  RECT r;
  if (!GetWindowRect(hwnd_, &r)) return;
  const RECT inside = keptInside(r, workArea(hwnd_));
  if (inside.left != r.left || inside.top != r.top)
    SetWindowPos(hwnd_, nullptr, inside.left, inside.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormView::syncAll(Control& c) {
  for (Property p : {Property::Geometry, Property::Font, Property::Items, Property::Text,
                     Property::Value, Property::Tooltip, Property::Enabled, Property::Visible})
    sync(c, p);
}

void FormView::changed(Control* c, Property p) {
  if (!c) {
    syncWindow(p);
    return;
  }
  if (p == Property::PopupMenu) {
    host_.popupLater(*this, static_cast<Menu&>(*c));
    return;
  }
  if (!hwnd_) return;  // built with the current state on first show
  if (c->kind() == ControlKind::Shape) {
    // Only what is drawn, and only where: a level bar's outline gets a new
    // accessible name on every readout tick, and repainting the whole window
    // for it made the window flicker.
    if (p == Property::ForeColour || p == Property::Visible) {
      RECT r = place(*c);
      InflateRect(&r, 1, 1);
      InvalidateRect(hwnd_, &r, TRUE);
    } else if (p == Property::Geometry) {
      InvalidateRect(hwnd_, nullptr, TRUE);  // where it was, too
    }
    return;
  }
  if (p == Property::Items) {
    pendingItems_.insert(c);
    return;
  }
  sync(*c, p);
}

void FormView::flush() {
  for (Control* c : pendingItems_) {
    syncItems(*c);
    sync(*c, Property::Text);
  }
  pendingItems_.clear();
}

void FormView::syncItems(Control& c) {
  HWND w = widget(c);
  if (!w || c.kind() != ControlKind::ComboBox) return;
  syncing_ = true;
  SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  SendMessageW(w, CB_RESETCONTENT, 0, 0);
  for (const auto& item : static_cast<ComboBox&>(c).items())
    SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::shown(item).c_str()));
  SendMessageW(w, WM_SETREDRAW, TRUE, 0);
  syncing_ = false;
}

void FormView::syncVisibility() {
  for (auto& [c, w] : widgets_) ShowWindow(w, shown(*c) ? SW_SHOWNA : SW_HIDE);
}

// Shrinks the label's font, never below half its size, until the text fits
// its width: a readout keeps its decimals instead of being cut.
void FormView::fitFont(Control& c) {
  HWND w = widget(c);
  if (!w) return;
  const std::wstring text = win::shown(c.text());
  RECT r;
  GetClientRect(w, &r);
  const int room = std::max<int>(1, r.right - 2);
  const double full = c.font().size;
  HDC dc = GetDC(w);
  double size = full;
  for (; size > full / 2; size -= 0.25) {
    HGDIOBJ old = SelectObject(dc, font(c.font(), dpi_, size));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    if (extent.cx <= room) break;
  }
  ReleaseDC(w, dc);
  auto it = fitted_.find(&c);
  if (it != fitted_.end() && it->second == size) return;
  fitted_[&c] = size;
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font(c.font(), dpi_, size)), TRUE);
}

void FormView::sync(Control& c, Property p) {
  HWND w = widget(c);
  if (!w) return;
  syncing_ = true;
  switch (p) {
    case Property::Text: {
      const std::wstring t = win::shown(c.text());
      if (c.kind() == ControlKind::ComboBox) {
        auto& combo = static_cast<ComboBox&>(c);
        if (combo.style() == ComboStyle::Editable) {
          if (textOf(w) != t) SetWindowTextW(w, t.c_str());
        } else if (SendMessageW(w, CB_GETCURSEL, 0, 0) != combo.listIndex()) {
          SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(combo.listIndex()), 0);
        }
      } else if (c.kind() != ControlKind::Image && c.kind() != ControlKind::PictureBox) {
        if (textOf(w) != t) {
          SetWindowTextW(w, t.c_str());
          if (c.kind() == ControlKind::Label && c.fit()) fitFont(c);
        }
      }
      break;
    }
    case Property::Items:
      syncItems(c);
      break;
    case Property::Value:
      if (c.kind() == ControlKind::CheckBox) {
        static const WPARAM states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
        SendMessageW(w, BM_SETCHECK, states[static_cast<CheckBox&>(c).value()], 0);
      } else if (c.kind() == ControlKind::OptionButton) {
        SendMessageW(w, BM_SETCHECK,
                     static_cast<OptionButton&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    case Property::Visible:
      syncVisibility();
      break;
    case Property::Enabled:
      EnableWindow(w, c.enabled());
      break;
    case Property::ForeColour:
    case Property::BackColour:
    case Property::Picture:
      // The control paints all of itself: no erase first, which would show
      // for a moment.
      InvalidateRect(w, nullptr, FALSE);
      break;
    case Property::Font:
      if (c.kind() == ControlKind::Label && c.fit()) {
        fitted_.erase(&c);
        fitFont(c);
      } else {
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font(c.font(), dpi_)), TRUE);
      }
      break;
    case Property::Geometry: {
      RECT r = place(c);
      int height = r.bottom - r.top;
      // A combo box's height includes its drop-down list.
      if (c.kind() == ControlKind::ComboBox) height += kListRows * px(240, dpi_);
      SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Property::Tooltip: {
      const std::wstring tip = win::shown(c.tooltip());
      TTTOOLINFOW tool{};
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.hwnd = hwnd_;
      tool.uId = reinterpret_cast<UINT_PTR>(w);
      tool.lpszText = const_cast<wchar_t*>(tip.c_str());
      SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
      // A picture shows no text: its window text, what assistive
      // technologies read out, is the caption beside it, not its hint.
      if (c.kind() == ControlKind::Image) SetWindowTextW(w, win::shown(c.accessibleName()).c_str());
      break;
    }
    default:
      break;
  }
  syncing_ = false;
}

void FormView::syncWindow(Property p) {
  if (p == Property::Shown || p == Property::Raise) {
    if (!form_.visible()) {
      if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
      return;
    }
    if (!hwnd_) build();
    if (!hwnd_) return;
    flush();
    ShowWindow(hwnd_, form_.state() == WindowState::Minimized ? SW_SHOWMINIMIZED : SW_SHOW);
    SetForegroundWindow(hwnd_);
    return;
  }
  if (!hwnd_) return;
  switch (p) {
    case Property::Caption:
      SetWindowTextW(hwnd_, win::shown(form_.caption()).c_str());
      break;
    case Property::Topmost:
      SetWindowPos(hwnd_, form_.topmost() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case Property::WindowState:
      if (form_.state() == WindowState::Minimized)
        ShowWindow(hwnd_, SW_MINIMIZE);
      else if (IsIconic(hwnd_))
        ShowWindow(hwnd_, SW_RESTORE);
      break;
    case Property::Geometry: {
      const int at = systemDpi();
      SetWindowPos(hwnd_, nullptr, px(form_.left(), at), px(form_.top(), at), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      keepInside();
      break;
    }
    default:
      break;
  }
}

void FormView::destroyLater() {
  if (hwnd_)
    host_.destroyLater(this);
  else
    delete this;
}

}  // namespace qv::ui::win32

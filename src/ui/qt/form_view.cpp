#include "ui/qt/form_view.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QWidget>
#include <optional>

#include "runtime/program.h"
#include "ui/qt/look.h"

namespace qv::ui {

// The top-level widget of a window: its close box asks the model, and mouse
// moves with a button held reach the model's handler.
class FormWindow : public QWidget {
 public:
  std::function<void()> closeRequested;
  std::function<void(int)> mouseMoved;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (closeRequested) closeRequested();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    int button = 0;
    if (event->buttons() & Qt::LeftButton) button |= 1;
    if (event->buttons() & Qt::RightButton) button |= 2;
    if (event->buttons() & Qt::MiddleButton) button |= 4;
    if (button && mouseMoved) mouseMoved(button);
  }
};

namespace {

class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> clicked;
  // The point size fitFont() last gave the label; none before the first fit
  // and after the model's font changed.
  std::optional<double> fittedSize;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        clicked)
      clicked();
    else
      QLabel::mouseReleaseEvent(event);
  }
};

// A label that shrinks its font, never below half its size, until the text
// fits its width: a readout keeps its decimals instead of being cut.
void fitFont(ClickLabel& label, const Control& c) {
  const QString text = label.text();
  const int room = std::max(1, label.width() - 2);
  const double full = c.font().size;
  // A new reading nearly always fits at the full size the label already has:
  // one measure in the label's own font, and nothing to set.
  if (label.fittedSize == full && label.fontMetrics().horizontalAdvance(text) <= room) return;
  QFont font = toQFont(c.font());
  double size = full;
  for (; size > full / 2; size -= 0.25) {
    font.setPointSizeF(size);
    if (QFontMetrics(font).horizontalAdvance(text) <= room) break;
  }
  if (label.fittedSize == size) return;
  label.setFont(font);
  label.fittedSize = size;
}

class ShapeWidget : public QWidget {
 public:
  using QWidget::QWidget;
  QColor colour;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(colour);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

// Check boxes and option buttons never change themselves: a click (mouse,
// keyboard) or an accessibility toggle asks the model, and the widget then
// shows what the model decided.
template <class Button>
class ModelButton : public Button {
 public:
  using Button::Button;
  std::function<void()> activated;

 protected:
  void nextCheckState() override {
    if (activated) activated();
  }
};

// Keys typed into an editable list go to the model first, which may discard
// them.
class KeyFilter : public QObject {
 public:
  KeyFilter(QObject* parent, std::function<bool(char32_t)> accept)
      : QObject(parent), accept_(std::move(accept)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    char32_t ch = 0;
    if (key->key() == Qt::Key_Backspace)
      ch = 8;
    else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
      ch = 13;
    else if (!key->text().isEmpty() && key->text().at(0).isPrint())
      ch = key->text().toUcs4().value(0);
    if (ch == 0) return false;
    return !accept_(ch);
  }

 private:
  std::function<bool(char32_t)> accept_;
};

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}

void setColours(QWidget* w, const Control& c) {
  QPalette pal = w->palette();
  QColor fore = toQColor(c.foreColour());
  pal.setColor(QPalette::WindowText, fore);
  pal.setColor(QPalette::ButtonText, fore);
  if (c.kind() == ControlKind::TextBox || c.kind() == ControlKind::ComboBox)
    pal.setColor(QPalette::Text, fore);
  if (c.opaque() || c.kind() == ControlKind::PictureBox) {
    pal.setColor(QPalette::Window, toQColor(c.backColour()));
    w->setAutoFillBackground(true);
  }
  w->setPalette(pal);
  if (auto* shape = dynamic_cast<ShapeWidget*>(w)) {
    shape->colour = fore;
    shape->update();
  }
}

Qt::Alignment alignment(Align a) {
  switch (a) {
    case Align::Centre:
      return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace

FormView::FormView(Program& program, Form& form) : program_(program), form_(form) {
  observer_ = form_.observe([this](Control* c, Property p) { changed(c, p); });
  if (form_.visible()) syncWindow(Property::Shown);
}

FormView::~FormView() {
  detach();
  delete window_.data();
}

QWidget* FormView::window() const {
  return window_.data();
}

QWidget* FormView::widget(const Control& control) const {
  auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

void FormView::detach() {
  if (detached_) return;
  detached_ = true;
  form_.unobserve(observer_);
  widgets_.clear();
  pendingItems_.clear();
  if (menu_) menu_.release()->deleteLater();
  if (window_) {
    window_->hide();
    window_->deleteLater();
  }
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

void FormView::build() {
  window_ = new FormWindow;
  FormWindow* w = window_.data();
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->setObjectName(qs(form_.name()));
  w->setFixedSize(px(form_.width()), px(form_.height()));
  if (form_.toolWindow())
    w->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint);
  w->setWindowIcon(form_.icon().empty() ? applicationIcon() : picture(form_.icon()));
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, toQColor(form_.backColour()));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
  w->closeRequested = [this] { user([this] { program_.requestClose(form_); }); };
  w->mouseMoved = [this](int button) {
    user([this, button] {
      if (form_.onMouseMove) form_.onMouseMove(button);
    });
  };
  syncWindow(Property::Caption);
  syncWindow(Property::Topmost);
  if (form_.left() || form_.top()) w->move(px(form_.left()), px(form_.top()));

  for (Control* c : form_.controls()) {
    if (c->kind() == ControlKind::Menu || outside(*c)) continue;
    QWidget* parent = w;
    if (c->parent()) {
      auto it = widgets_.find(c->parent());
      if (it == widgets_.end()) continue;  // its frame is not shown
      parent = it->second;
    }
    if (QWidget* made = create(*c, parent)) {
      made->setObjectName(qs(c->name()));
      widgets_[c] = made;
      syncAll(*c);
    }
  }
}

QWidget* FormView::create(Control& c, QWidget* parent) {
  switch (c.kind()) {
    case ControlKind::Label: {
      auto* l = new ClickLabel(parent);
      l->setTextFormat(Qt::PlainText);
      l->setWordWrap(true);
      l->clicked = [this, &c] { user([&c] { c.click(); }); };
      return l;
    }
    case ControlKind::Image: {
      auto* l = new ClickLabel(parent);
      l->setAlignment(Qt::AlignCenter);
      l->clicked = [this, &c] { user([&c] { c.click(); }); };
      return l;
    }
    case ControlKind::TextBox: {
      auto* e = new QLineEdit(parent);
      QObject::connect(e, &QLineEdit::textEdited, e, [this, &c](const QString& t) {
        user([&c, t] { c.setText(t.toStdString()); }, &c);
      });
      return e;
    }
    case ControlKind::ComboBox: {
      auto& combo = static_cast<ComboBox&>(c);
      auto* cb = new QComboBox(parent);
      cb->setMaxVisibleItems(20);
      if (combo.style() == ComboStyle::Editable) {
        cb->setEditable(true);
        cb->setInsertPolicy(QComboBox::NoInsert);
        cb->lineEdit()->installEventFilter(new KeyFilter(cb, [this, &combo](char32_t key) {
          bool accepted = true;
          user([&] { accepted = combo.keyPress(key); });
          return accepted;
        }));
        QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, cb,
                         [this, &combo](const QString& t) {
                           user([&combo, t] { combo.setText(t.toStdString()); });
                           if (!detached_) sync(combo, Property::Text);
                         });
      }
      QObject::connect(cb, &QComboBox::activated, cb, [this, &combo](int index) {
        user([&combo, index] { combo.pick(index); });
        if (!detached_) sync(combo, Property::Text);
      });
      return cb;
    }
    case ControlKind::CheckBox: {
      auto& box = static_cast<CheckBox&>(c);
      auto* b = new ModelButton<QCheckBox>(parent);
      b->setTristate(true);
      b->activated = [this, &box] { user([&box] { box.toggle(); }, &box); };
      // Only a toggle from outside (assistive technology) gets here: the
      // model's own updates are made with the signals blocked.
      QObject::connect(b, &QCheckBox::toggled, b, [b] { b->activated(); });
      return b;
    }
    case ControlKind::OptionButton: {
      auto& option = static_cast<OptionButton&>(c);
      auto* r = new ModelButton<QRadioButton>(parent);
      r->setAutoExclusive(false);
      r->activated = [this, &option] { user([&option] { option.setValue(true); }, &option); };
      QObject::connect(r, &QRadioButton::toggled, r, [r] { r->activated(); });
      return r;
    }
    case ControlKind::CommandButton: {
      auto* b = new QPushButton(parent);
      QObject::connect(b, &QPushButton::clicked, b, [this, &c] { user([&c] { c.click(); }); });
      return b;
    }
    case ControlKind::Frame:
      return new QGroupBox(parent);
    case ControlKind::PictureBox:
      return new QWidget(parent);
    case ControlKind::Shape: {
      auto* s = new ShapeWidget(parent);
      s->setAttribute(Qt::WA_TransparentForMouseEvents);
      return s;
    }
    case ControlKind::Menu:
      break;
  }
  return nullptr;
}

void FormView::syncAll(Control& c) {
  for (Property p : {Property::Geometry, Property::Text, Property::Font, Property::ForeColour,
                     Property::Items, Property::Text, Property::Value, Property::Picture,
                     Property::Tooltip, Property::Enabled, Property::Visible, Property::Accessible})
    sync(c, p);
  if (QWidget* w = widget(c)) {
    if (c.hand()) w->setCursor(Qt::PointingHandCursor);
    if (auto* l = dynamic_cast<QLabel*>(w); l && c.kind() == ControlKind::Label) {
      l->setAlignment(alignment(c.align()));
      if (c.border()) l->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
  }
}

void FormView::changed(Control* c, Property p) {
  if (!c) {
    syncWindow(p);
    return;
  }
  if (p == Property::PopupMenu) {
    popup(*c);
    return;
  }
  if (!window_) return;  // built with the current state on first show
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
  if (showLater_ && !program_.busy()) {
    showLater_ = false;
    syncWindow(Property::Shown);
  }
}

void FormView::syncItems(Control& c) {
  auto* cb = qobject_cast<QComboBox*>(widget(c));
  if (!cb) return;
  const auto& items = static_cast<ComboBox&>(c).items();
  QSignalBlocker block(cb);
  QStringList list;
  list.reserve(static_cast<int>(items.size()));
  for (const auto& i : items) list << qs(i);
  cb->clear();
  cb->addItems(list);
}

void FormView::sync(Control& c, Property p) {
  QWidget* w = widget(c);
  if (!w) return;
  QSignalBlocker block(w);
  switch (p) {
    case Property::Text: {
      QString t = qs(c.text());
      if (auto* l = qobject_cast<QLabel*>(w)) {
        if (c.kind() == ControlKind::Label && l->text() != t) {
          l->setText(t);
          if (c.fit()) fitFont(static_cast<ClickLabel&>(*l), c);
        }
      } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != t) e->setText(t);
      } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        auto& combo = static_cast<ComboBox&>(c);
        if (cb->isEditable()) {
          QSignalBlocker blockEdit(cb->lineEdit());
          if (cb->currentText() != t) cb->setEditText(t);
        } else if (cb->currentIndex() != combo.listIndex()) {
          cb->setCurrentIndex(combo.listIndex());
        }
      } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(t);
      } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(t);
      }
      // Named by the caption it shows, set here: Qt would name a frame
      // inside a frame by the outer one's title.
      if (c.accessibleName().empty() && w->accessibleName() != t) w->setAccessibleName(t);
      break;
    }
    case Property::Items:
      syncItems(c);
      break;
    case Property::Value:
      if (c.kind() == ControlKind::CheckBox) {
        static const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
        static_cast<QCheckBox*>(w)->setCheckState(states[static_cast<CheckBox&>(c).value()]);
      } else if (c.kind() == ControlKind::OptionButton) {
        static_cast<QRadioButton*>(w)->setChecked(static_cast<OptionButton&>(c).value());
      }
      break;
    case Property::Visible:
      w->setVisible(c.visible());
      break;
    case Property::Enabled:
      w->setEnabled(c.enabled());
      break;
    case Property::ForeColour:
    case Property::BackColour:
      setColours(w, c);
      break;
    case Property::Font:
      if (auto* l = qobject_cast<QLabel*>(w); l && c.kind() == ControlKind::Label && c.fit()) {
        auto& label = static_cast<ClickLabel&>(*l);
        label.fittedSize.reset();
        fitFont(label, c);
      } else {
        w->setFont(toQFont(c.font()));
      }
      break;
    case Property::Geometry:
      w->setGeometry(px(c.left()), px(c.top()), px(c.width()), px(c.height()));
      break;
    case Property::Tooltip:
      // The hint describes; the name is the caption the control shows.
      w->setToolTip(qs(c.tooltip()));
      w->setAccessibleDescription(qs(c.tooltip()));
      break;
    case Property::Accessible:
      // A control that shows no text of its own is named for what it shows.
      w->setAccessibleName(qs(c.accessibleName().empty() ? c.text() : c.accessibleName()));
      break;
    case Property::Picture:
      if (!c.picture().empty()) {
        QIcon icon = picture(c.picture());
        if (auto* b = qobject_cast<QPushButton*>(w)) {
          b->setIcon(icon);
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
          // Pictures keep their proportions and fit the control.
          QSize available(px(c.width()), px(c.height()));
          QSize actual = icon.actualSize(available);
          l->setPixmap(icon.pixmap(actual.isValid() ? actual : available));
        }
      }
      break;
    default:
      break;
  }
}

void FormView::syncWindow(Property p) {
  if (p == Property::Shown || p == Property::Raise) {
    if (!form_.visible()) {
      if (window_) window_->hide();
      return;
    }
    // A window on top of the others opens after those the same handler
    // opens, so that it comes up above them where the desktop stacks
    // windows as they open (Wayland, where nothing keeps it on top).
    if (form_.topmost() && program_.busy() && !(window_ && window_->isVisible())) {
      showLater_ = true;
      return;
    }
    showLater_ = false;
    if (!window_) build();
    flush();
    if (form_.state() == WindowState::Minimized)
      window_->showMinimized();
    else
      window_->show();
    window_->raise();
    window_->activateWindow();
    return;
  }
  if (!window_) return;
  switch (p) {
    case Property::Caption:
      if (form_.toolWindow()) {
        // A small window shares its title bar between the caption and the
        // desktop's icon and buttons, which many desktops draw whatever the
        // window asks for; openbox centres the caption between three buttons
        // on either side. The window grows as wide as its caption needs
        // beside about seven of them, and stays so.
        QFont bold = window_->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        const int wanted =
            metrics.horizontalAdvance(qs(form_.caption())) + 7 * (metrics.height() + 6);
        if (wanted > window_->width()) window_->setFixedWidth(wanted);
      }
      // Wider first: a title that arrives first is cut to the old width.
      window_->setWindowTitle(qs(form_.caption()));
      break;
    case Property::Topmost: {
      bool shown = window_->isVisible();
      window_->setWindowFlag(Qt::WindowStaysOnTopHint, form_.topmost());
      if (shown) window_->show();
      break;
    }
    case Property::WindowState:
      if (form_.state() == WindowState::Minimized)
        window_->showMinimized();
      else if (window_->isMinimized())
        window_->showNormal();
      break;
    case Property::Geometry:
      window_->move(px(form_.left()), px(form_.top()));
      break;
    default:
      break;
  }
}

void FormView::popup(Control& menu) {
  menu_ = std::make_unique<QMenu>();
  for (Control* c : form_.controls()) {
    if (c->kind() != ControlKind::Menu || c->parent() != &menu || !c->visible()) continue;
    QAction* a = menu_->addAction(qs(c->text()));
    a->setEnabled(c->enabled());
    Control* item = c;
    QObject::connect(a, &QAction::triggered, menu_.get(),
                     [this, item] { user([item] { item->click(); }); });
  }
  // Not exec(): a nested event loop would hold up the timers.
  menu_->popup(QCursor::pos());
}

}  // namespace qv::ui

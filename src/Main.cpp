#include "Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>

#include "editor/command.h"
#include "editor/kill_list.h"
#include "platform/codec.h"
#include "platform/qt/qt_text.h"
#include "platform/x11/taskbar.h"

namespace zorvek {

namespace {

QString ja(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QLabel* make_label(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QListWidget* make_list(QWidget* parent, const char* name, const QString& accessible_name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setAccessibleName(accessible_name);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  return list;
}

// How much further down this style draws a group box's frame line than a caption centred on it
// would be: the designed positions inside a group are moved down by that much.
int title_drop(const QGroupBox* box) {
  QStyleOptionGroupBox option;
  option.initFrom(box);
  option.text = box->title();
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  const QRect label =
      box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
  return std::max(0, label.bottom() - label.height() / 2);
}

// Design sizes of the window and of its parts.
constexpr int kDesignWidth = 641;
constexpr int kDesignHeight = 565;
constexpr int kActiveWidth = 345;
constexpr int kSplitterHeight = 3;
constexpr int kMinPart = 40;

}  // namespace

Tmain_frm::Tmain_frm(const Desktop& desktop, const std::filesystem::path& executable,
                     bool use_tray) {
  setObjectName(QStringLiteral("main_frm"));
  setWindowTitle(ja("Zorvek ( 環境設定 )"));
  setWindowIcon(image(Image::program));
  resize(kDesignWidth, kDesignHeight);
  build_widgets();

  handle_box_ = std::make_unique<QtListBox>(handle_lst, true);
  kill_box_ = std::make_unique<QtListBox>(kill_lst, false);
  active_box_ = std::make_unique<QtListBox>(active_lst, false);
  selector_ = std::make_unique<QtSelector>(kankyou_cmb);
  count_label_ = std::make_unique<QtLabel>(count_lbl);
  prompts_ = std::make_unique<QtPrompts>(this);

  build_actions();
  build_menus();
  build_tray(use_tray);
  log_item_ = std::make_unique<QtCheckItem>(flg_log_mnu);
  tray_menu_ =
      std::make_unique<QtTrayMenu>(tray_pop, [this](int tag) { controller_->switch_kankyou(tag); });

  const MainView view{*handle_box_, *kill_box_,  *active_box_, *selector_, *count_label_,
                      *log_item_,   *tray_menu_, *this,        *prompts_,  *this};
  controller_ = std::make_unique<MainController>(view, desktop, executable);

  connect(kankyou_cmb, &QComboBox::currentIndexChanged, this,
          [this] { controller_->kankyou_cmb_change(); });
  connect(kankyou_cmb->lineEdit(), &QLineEdit::textEdited, this,
          [this] { controller_->kankyou_cmb_typed(); });
  connect(handle_lst, &QListWidget::itemSelectionChanged, this,
          [this] { controller_->handle_lstClick(); });
  connect(kill_sbtn, &QToolButton::clicked, this, [this] {
    run_command(*prompts_,
                [this] { kill_sbtnClick(*handle_box_, *kill_box_, controller_->edited()); });
  });

  controller_->form_create();
  layout_children();

  About_dlg = std::make_unique<TAbout_dlg>(desktop.shell, *prompts_);
  // The window exists on the desktop, titled, from the start, also while it is hidden: it is one
  // of the open windows, and a close request can reach it.
  winId();
}

Tmain_frm::~Tmain_frm() = default;

bool Tmain_frm::starts_shown() const {
  return controller_->hide_done_flg() || !tray_available();
}

QAction* Tmain_frm::make_action(const char* name, const QString& caption,
                                std::optional<Image> picture, std::function<void()> execute) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  if (picture) action->setIcon(image(*picture));
  connect(action, &QAction::triggered, this, [execute = std::move(execute)] { execute(); });
  return action;
}

void Tmain_frm::build_actions() {
  update_list_act = make_action("update_list_act", ja("リスト更新"), Image::refresh,
                                [this] { controller_->get_list_btnClick(); });
  version_act = make_action("version_act", ja("バージョン情報(&V)"), std::nullopt,
                            [this] { About_dlg->exec(); });
  help_act =
      make_action("help_act", ja("ヘルプ"), Image::help, [this] { controller_->help_click(); });

  flg_log_mnu = new QAction(ja("ログを保存する"), this);
  flg_log_mnu->setObjectName(QStringLiteral("flg_log_mnu"));
  flg_log_mnu->setCheckable(true);
}

void Tmain_frm::build_widgets() {
  client_ = new QWidget(this);
  setCentralWidget(client_);

  Panel1 = new QFrame(client_);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  static_cast<QFrame*>(Panel1)->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(7, 16, 178, 73);
  Label1 = make_label(Panel1, ja("環境名"), 8, 10);
  QFont bold = Label1->font();
  bold.setBold(true);
  bold.setPixelSize(16);
  Label1->setFont(bold);
  Label1->adjustSize();
  kankyou_cmb = new QComboBox(Panel1);
  kankyou_cmb->setObjectName(QStringLiteral("kankyou_cmb"));
  kankyou_cmb->setEditable(true);
  kankyou_cmb->setInsertPolicy(QComboBox::NoInsert);
  kankyou_cmb->setToolTip(ja("環境を選択し，切り替える事ができます"));
  kankyou_cmb->setAccessibleName(ja("環境名"));
  kankyou_cmb->setGeometry(8, 41, 145, kankyou_cmb->sizeHint().height());
  Label1->setBuddy(kankyou_cmb);

  active_gbx = new QGroupBox(ja("起動プロセス一覧"), client_);
  active_gbx->setObjectName(QStringLiteral("active_gbx"));
  active_drop_ = title_drop(active_gbx);
  active_lst = make_list(active_gbx, "active_lst", ja("起動プロセス一覧"));
  active_lst->setToolTip(ja("実行ファイルをドラッグアンドドロップして下さい"));

  splitter1 = new QWidget(client_);
  splitter1->setObjectName(QStringLiteral("splitter1"));
  splitter1->setCursor(Qt::SizeVerCursor);
  splitter1->installEventFilter(this);

  kill_gbx = new QGroupBox(ja("終了プロセス選択"), client_);
  kill_gbx->setObjectName(QStringLiteral("kill_gbx"));
  kill_drop_ = title_drop(kill_gbx);
  handle_lbl = make_label(kill_gbx, ja("起動 プロセス一覧"), 14, 17 + kill_drop_);
  line_lbl = make_label(kill_gbx, ja("行"), 134, 17 + kill_drop_);
  count_lbl = new QLabel(kill_gbx);
  count_lbl->setObjectName(QStringLiteral("count_lbl"));
  count_lbl->setGeometry(155, 16 + kill_drop_, 55, 15);
  QFont count_font = count_lbl->font();
  count_font.setPixelSize(15);
  count_lbl->setFont(count_font);
  count_lbl->setAutoFillBackground(true);
  count_lbl->setBackgroundRole(QPalette::HighlightedText);
  handle_lst = make_list(kill_gbx, "handle_lst", ja("起動 プロセス一覧"));
  handle_lbl->setBuddy(handle_lst);

  kill_sbtn = new QToolButton(kill_gbx);
  kill_sbtn->setObjectName(QStringLiteral("kill_sbtn"));
  const QString add_hint = ja("選択したプロセスを、終了プロセス一覧に追加します。");
  kill_sbtn->setToolTip(add_hint);
  kill_sbtn->setAccessibleName(add_hint);
  kill_sbtn->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
  kill_sbtn->setIconSize(QSize(24, 24));
  kill_sbtn->setGeometry(235, 104 + kill_drop_, 45, 49);

  kill_lbl = make_label(kill_gbx, ja("終了 プロセス一覧"), 326, 17 + kill_drop_);
  kill_lst = make_list(kill_gbx, "kill_lst", ja("終了 プロセス一覧"));
  kill_lbl->setBuddy(kill_lst);
}

void Tmain_frm::build_menus() {
  QMenu* File1 = menuBar()->addMenu(ja("ファイル(&F)"));
  File1->setObjectName(QStringLiteral("File1"));
  QAction* close_mnu = File1->addAction(ja("閉じる(&C)"), this, [this] { close(); });
  close_mnu->setObjectName(QStringLiteral("close_mnu"));
  File1->addSeparator();
  QAction* end_mnu =
      File1->addAction(ja("終了(&E)"), this, [this] { controller_->end_pop_click(); });
  end_mnu->setObjectName(QStringLiteral("end_mnu"));

  QMenu* N3 = menuBar()->addMenu(ja("設定"));
  N3->setObjectName(QStringLiteral("N3"));
  N3->addAction(flg_log_mnu);

  QMenu* Help1 = menuBar()->addMenu(ja("ヘルプ(&H)"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Help1->addAction(version_act);
  Help1->addAction(help_act);

  itiran_pop = new QMenu(this);
  itiran_pop->setObjectName(QStringLiteral("itiran_pop"));
  itiran_pop->addAction(update_list_act);
  handle_lst->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(handle_lst, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { itiran_pop->popup(handle_lst->viewport()->mapToGlobal(at)); });
}

void Tmain_frm::build_tray(bool use_tray) {
  tray_pop = new QMenu(ja("環境切替(&K)"), this);
  tray_pop->setObjectName(QStringLiteral("tray_pop"));
  QAction* settei_pop =
      tray_pop->addAction(ja("設定"), this, [this] { controller_->settei_pop_click(); });
  settei_pop->setObjectName(QStringLiteral("settei_pop"));
  tray_pop->addAction(version_act);
  tray_pop->addAction(help_act);
  QAction* end_pop =
      tray_pop->addAction(ja("バイバイ"), this, [this] { controller_->end_pop_click(); });
  end_pop->setObjectName(QStringLiteral("end_pop"));
  tray_pop->addSeparator()->setObjectName(QStringLiteral("N2"));

  if (!use_tray) {
    // No notification area: the window stays reachable and offers the tray's menu itself.
    menuBar()->addMenu(tray_pop);
    return;
  }
  TrayIcon1 = new QSystemTrayIcon(image(Image::program), this);
  TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
  TrayIcon1->setToolTip(QStringLiteral("Zorvek"));
  TrayIcon1->setContextMenu(tray_pop);
  connect(TrayIcon1, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason != QSystemTrayIcon::DoubleClick) return;
            restore_main_window();
            controller_->tray_icon_restore();
          });
  TrayIcon1->show();
}

int Tmain_frm::client_height() const {
  // Before the window is first shown the central widget has not been sized yet.
  if (client_->isVisible()) return client_->height();
  return height() - menuBar()->sizeHint().height();
}

void Tmain_frm::layout_children() {
  const int w = client_->isVisible() ? client_->width() : width();
  const int h = client_height();
  const int kill_h = std::clamp(kill_height_, 0, std::max(0, h - kSplitterHeight));
  const int split_top = h - kill_h - kSplitterHeight;

  kill_gbx->setGeometry(0, split_top + kSplitterHeight, w, kill_h);
  splitter1->setGeometry(0, split_top, w, kSplitterHeight);
  active_gbx->setGeometry(w - kActiveWidth, 0, kActiveWidth, split_top);
  active_lst->setGeometry(8, 24 + active_drop_, kActiveWidth - 16,
                          std::max(0, split_top - 32 - active_drop_));

  const int list_top = 33 + kill_drop_;
  handle_lst->setGeometry(8, list_top, 217, std::max(0, kill_h - list_top - 18));
  kill_lst->setGeometry(296, list_top, std::max(0, w - 296 - 9),
                        std::max(0, kill_h - list_top - 10));
}

void Tmain_frm::splitter1CanResize() {
  // Keeps the add button near the middle of the kill group, from its height before this step.
  kill_sbtn->move(kill_sbtn->x(), (kill_gbx->height() - kill_sbtn->height() / 2) / 2);
}

bool Tmain_frm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != splitter1) return QMainWindow::eventFilter(watched, event);
  if (event->type() == QEvent::MouseButtonPress) {
    drag_offset_ = static_cast<QMouseEvent*>(event)->position().toPoint().y();
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    drag_offset_ = -1;
    return true;
  }
  if (event->type() == QEvent::MouseMove && drag_offset_ >= 0) {
    const int y =
        splitter1->mapToParent(static_cast<QMouseEvent*>(event)->position().toPoint()).y() -
        drag_offset_;
    const int h = client_->height();
    const int top = std::clamp(y, kMinPart, std::max(kMinPart, h - kSplitterHeight - kMinPart));
    splitter1CanResize();
    kill_height_ = h - top - kSplitterHeight;
    layout_children();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void Tmain_frm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layout_children();
}

void Tmain_frm::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    if (const QScreen* screen = this->screen()) {
      const QRect area = screen->availableGeometry();
      move(area.center() - QPoint(width() / 2, height() / 2));
    }
  }
  QMainWindow::showEvent(event);
  layout_children();
  if (tray_available()) {
    // The tray icon stands for the program; the window manager needs the window mapped first.
    QTimer::singleShot(100, this, [this] {
      if (isVisible()) keep_off_taskbar(winId());
    });
  }
}

void Tmain_frm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // The minimize button sends the window to the tray, once the state change is through.
  if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_available()) {
    QTimer::singleShot(0, this, [this] { controller_->tray_icon_minimize(); });
  }
}

void Tmain_frm::closeEvent(QCloseEvent* event) {
  // The window never closes: it goes away and the program keeps running.
  event->ignore();
  controller_->form_close_query();
}

void Tmain_frm::FormDestroy() {
  controller_->form_destroy();
}

int Tmain_frm::property(WindowProperty p) const {
  switch (p) {
    case WindowProperty::log_checked:
      return flg_log_mnu->isChecked() ? 1 : 0;
    case WindowProperty::form_width:
      return width();
    case WindowProperty::form_height:
      return height();
    case WindowProperty::kill_height:
      return kill_height_;
    case WindowProperty::active_height:
    case WindowProperty::split_top:
      return client_height() - kill_height_ - kSplitterHeight;
  }
  return 0;
}

void Tmain_frm::set_property(WindowProperty p, int value) {
  switch (p) {
    case WindowProperty::log_checked:
      flg_log_mnu->setChecked(value != 0);
      break;
    case WindowProperty::form_width:
      resize(value, height());
      break;
    case WindowProperty::form_height:
      resize(width(), value);
      break;
    case WindowProperty::kill_height:
      kill_height_ = value;
      break;
    case WindowProperty::active_height:
    case WindowProperty::split_top:
      // The launch group fills, and the splitter sits on, whatever the kill group leaves.
      break;
  }
  layout_children();
}

void Tmain_frm::minimize_main_window() {
  if (tray_available()) {
    controller_->tray_icon_minimize();
  } else {
    showMinimized();
  }
}

void Tmain_frm::show_main_window() {
  show();
}

void Tmain_frm::hide_main_window() {
  hide();
  setWindowState(windowState() & ~Qt::WindowMinimized);
}

void Tmain_frm::restore_main_window() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void Tmain_frm::quit() {
  // exit() rather than quit(): quit() would first ask the windows to close, which this one refuses.
  QCoreApplication::exit(0);
}

}  // namespace zorvek

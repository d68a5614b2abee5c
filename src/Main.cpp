#include "Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QUrl>

#include "editor/command.h"
#include "editor/kill_list.h"
#include "platform/codec.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/title_drag.h"
#include "platform/x11/taskbar.h"

namespace zorvek {

namespace {

QString ja(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// Sized when the window is first shown: measuring text loads the fonts, which a start into the
// tray does without.
QLabel* make_label(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->move(x, y);
  return label;
}

template <typename List = QListWidget>
List* make_list(QWidget* parent, const char* name, const QString& accessible_name) {
  auto* list = new List(parent);
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
constexpr int kDesignSplitTop = 257;
constexpr int kActiveWidth = 345;
constexpr int kSplitterHeight = 3;
constexpr int kMinPart = 40;

}  // namespace

Tmain_frm::Tmain_frm(const Desktop& desktop, const std::filesystem::path& executable,
                     bool use_tray) {
  setObjectName(QStringLiteral("main_frm"));
  setWindowTitle(ja("Zorvek ( 環境設定 )"));
  resize(kDesignWidth, kDesignHeight);
  // Files dropped from a file manager anywhere on the window join the launch list.
  setAcceptDrops(true);
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

  // The dialogs live from start to end, as the main window does.
  get_name_dlg = std::make_unique<Tget_name_dlg>();
  const MainView view{*handle_box_,  *kill_box_, *active_box_, *selector_,
                      *count_label_, *log_item_, *tray_menu_,  *get_name_dlg,
                      *this,         *prompts_,  *this};
  controller_ = std::make_unique<MainController>(view, desktop, executable);

  connect(kankyou_cmb, &QComboBox::currentIndexChanged, this,
          [this] { controller_->kankyou_cmb_change(); });
  connect(handle_lst, &QListWidget::itemSelectionChanged, this,
          [this] { controller_->handle_lstClick(); });
  connect(kill_sbtn, &QToolButton::clicked, this, [this] { controller_->add_titles(); });

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
  if (picture) pictures_.emplace_back(action, *picture);
  connect(action, &QAction::triggered, this, [execute = std::move(execute)] { execute(); });
  return action;
}

void Tmain_frm::build_actions() {
  const auto act = [&](const char* name, const char* caption, std::optional<Image> picture,
                       void (MainController::*handler)()) {
    return make_action(name, ja(caption), picture,
                       [this, handler] { (controller_.get()->*handler)(); });
  };

  // Open-window list.
  kill_kidou_act =
      act("kill_kidou_act", "プロセス終了", Image::close_window, &MainController::kill_kidou);
  search_kidou_act = act("search_kidou_act", "検索", Image::search, &MainController::search);
  next_kidou_act =
      act("next_kidou_act", "次候補検索", Image::search_next, &MainController::next_search);
  update_list_act =
      act("update_list_act", "リスト更新", Image::refresh, &MainController::get_list_btnClick);
  // Kill list.
  kill_kill_act =
      act("kill_kill_act", "プロセス終了", Image::close_window, &MainController::kill_process);
  sort_kill_act = act("sort_kill_act", "並び替え", Image::sort, &MainController::sort_kill);
  edit_kill_lst = act("edit_kill_lst", "編集", Image::edit, &MainController::edit_kill);
  delete_kill_act = act("delete_kill_act", "削除", Image::remove, &MainController::delete_kill);
  // Launch list.
  action_active_act =
      act("action_active_act", "起動", Image::launch, &MainController::action_active);
  sort_active_act = act("sort_active_act", "並び替え", Image::sort, &MainController::sort_active);
  edit_active_act = act("edit_active_act", "編集", Image::edit, &MainController::edit_active);
  delete_active_act =
      act("delete_active_act", "削除", Image::remove, &MainController::delete_active);
  // Environments.
  make_kankyou_act =
      act("make_kankyou_act", "環境作成", Image::create, &MainController::make_kankyou_click);
  change_kankyouname_act = act("change_kankyouname_act", "環境名の変更", std::nullopt,
                               &MainController::change_kankyouname);
  saveas_kankyou_act = act("saveas_kankyou_act", "環境に名前を付けて保存", std::nullopt,
                           &MainController::saveas_kankyou);
  save_kankyou_act =
      act("save_kankyou_act", "環境の保存", Image::save, &MainController::save_kankyou);
  del_kankyou_act =
      act("del_kankyou_act", "環境削除", Image::close_window, &MainController::delete_kankyou);
  // Help.
  version_act = make_action("version_act", ja("バージョン情報(&V)"), std::nullopt,
                            [this] { About_dlg->exec(); });
  help_act = act("help_act", "ヘルプ", Image::help, &MainController::help_click);

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
  kankyou_cmb = new QComboBox(Panel1);
  kankyou_cmb->setObjectName(QStringLiteral("kankyou_cmb"));
  kankyou_cmb->setInsertPolicy(QComboBox::NoInsert);
  kankyou_cmb->setToolTip(ja("環境を選択し，切り替える事ができます"));
  kankyou_cmb->setAccessibleName(ja("環境名"));
  kankyou_cmb->move(8, 41);
  Label1->setBuddy(kankyou_cmb);

  active_gbx = new QGroupBox(client_);  // captioned when first shown: a caption is measured
  active_gbx->setObjectName(QStringLiteral("active_gbx"));
  active_lst = make_list(active_gbx, "active_lst", ja("起動プロセス一覧"));
  active_lst->setToolTip(ja("実行ファイルをドラッグアンドドロップして下さい"));

  splitter1 = new QWidget(client_);
  splitter1->setObjectName(QStringLiteral("splitter1"));
  splitter1->setCursor(Qt::SizeVerCursor);
  splitter1->installEventFilter(this);

  kill_gbx = new QGroupBox(client_);
  kill_gbx->setObjectName(QStringLiteral("kill_gbx"));
  handle_lbl = make_label(kill_gbx, ja("起動 プロセス一覧"), 14, 17);
  line_lbl = make_label(kill_gbx, ja("行"), 134, 17);
  count_lbl = new QLabel(kill_gbx);
  count_lbl->setObjectName(QStringLiteral("count_lbl"));
  count_lbl->setGeometry(155, 16, 55, 15);
  QFont count_font = count_lbl->font();
  count_font.setPixelSize(15);
  count_lbl->setFont(count_font);
  count_lbl->setAutoFillBackground(true);
  count_lbl->setBackgroundRole(QPalette::HighlightedText);
  handle_lst = make_list<TitleDragList>(kill_gbx, "handle_lst", ja("起動 プロセス一覧"));
  handle_lst->setDragDropMode(QAbstractItemView::DragOnly);
  handle_lbl->setBuddy(handle_lst);

  kill_sbtn = new QToolButton(kill_gbx);
  kill_sbtn->setObjectName(QStringLiteral("kill_sbtn"));
  const QString add_hint = ja("選択したプロセスを、終了プロセス一覧に追加します。");
  kill_sbtn->setToolTip(add_hint);
  kill_sbtn->setAccessibleName(add_hint);
  kill_sbtn->setIconSize(QSize(24, 24));
  kill_sbtn->setGeometry(235, 104, 45, 49);

  kill_lbl = make_label(kill_gbx, ja("終了 プロセス一覧"), 326, 17);
  kill_lst = make_list(kill_gbx, "kill_lst", ja("終了 プロセス一覧"));
  kill_lst->setAcceptDrops(true);
  kill_lst->viewport()->installEventFilter(this);
  kill_lbl->setBuddy(kill_lst);
}

QMenu* Tmain_frm::make_popup(const char* name, std::initializer_list<QAction*> items) {
  auto* menu = new QMenu(this);
  menu->setObjectName(QString::fromLatin1(name));
  for (QAction* item : items) {
    if (item == nullptr) {
      menu->addSeparator();
    } else {
      menu->addAction(item);
    }
  }
  return menu;
}

void Tmain_frm::attach_popup(QWidget* widget, QMenu* menu) {
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(widget, &QWidget::customContextMenuRequested, this, [widget, menu](const QPoint& at) {
    const auto* view = qobject_cast<QAbstractScrollArea*>(widget);
    menu->popup((view != nullptr ? view->viewport() : widget)->mapToGlobal(at));
  });
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

  QMenu* Edit1 = menuBar()->addMenu(ja("編集"));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->addAction(search_kidou_act);
  Edit1->addAction(next_kidou_act);
  Edit1->addSeparator();
  // These two show captions of their own for the list they edit.
  QAction* N9 = Edit1->addAction(ja("起動プロセス編集"), edit_active_act, &QAction::trigger);
  N9->setObjectName(QStringLiteral("N9"));
  pictures_.emplace_back(N9, Image::edit);
  Edit1->addSeparator();
  QAction* N8 = Edit1->addAction(ja("終了プロセス修正"), edit_kill_lst, &QAction::trigger);
  N8->setObjectName(QStringLiteral("N8"));
  pictures_.emplace_back(N8, Image::edit);

  QMenu* N3 = menuBar()->addMenu(ja("設定"));
  N3->setObjectName(QStringLiteral("N3"));
  for (QAction* a : {make_kankyou_act, change_kankyouname_act, saveas_kankyou_act, save_kankyou_act,
                     del_kankyou_act}) {
    N3->addAction(a);
  }
  N3->addSeparator();
  N3->addAction(flg_log_mnu);

  QMenu* Help1 = menuBar()->addMenu(ja("ヘルプ(&H)"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Help1->addAction(version_act);
  Help1->addAction(help_act);

  itiran_pop = make_popup("itiran_pop", {kill_kidou_act, nullptr, search_kidou_act, next_kidou_act,
                                         nullptr, update_list_act});
  attach_popup(handle_lst, itiran_pop);
  kill_lst_pop = make_popup(
      "kill_lst_pop", {kill_kill_act, sort_kill_act, edit_kill_lst, nullptr, delete_kill_act});
  attach_popup(kill_lst, kill_lst_pop);
  active_lst_pop = make_popup("active_lst_pop", {action_active_act, sort_active_act,
                                                 edit_active_act, nullptr, delete_active_act});
  attach_popup(active_lst, active_lst_pop);
  attach_popup(active_gbx, active_lst_pop);
  kankyou_pop = make_popup("kankyou_pop", {make_kankyou_act, change_kankyouname_act,
                                           saveas_kankyou_act, save_kankyou_act, del_kankyou_act});
  attach_popup(kankyou_cmb, kankyou_pop);

  connect(kill_lst, &QListWidget::itemDoubleClicked, edit_kill_lst, &QAction::trigger);
  connect(active_lst, &QListWidget::itemDoubleClicked, edit_active_act, &QAction::trigger);
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
  TrayIcon1 = new QSystemTrayIcon(tray_image(), this);
  connect(tray_pop, &QMenu::aboutToShow, this, [this] { load_pictures(); });
  TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
  TrayIcon1->setToolTip(QStringLiteral("Zorvek"));
  TrayIcon1->setContextMenu(tray_pop);
  connect(TrayIcon1, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason != QSystemTrayIcon::DoubleClick) return;
            // The list is read before the window shows, while the desktop's view of it is settled.
            controller_->tray_icon_restore();
            restore_main_window();
          });
  TrayIcon1->show();
}

void Tmain_frm::load_pictures() {
  if (pictures_loaded_) return;
  pictures_loaded_ = true;
  for (const auto& [action, picture] : pictures_) action->setIcon(image(picture));
  kill_sbtn->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
}

void Tmain_frm::decorate() {
  if (decorated_) return;
  decorated_ = true;
  setWindowIcon(image(Image::program));
  load_pictures();
  // The selector's text can be typed in once there is a window to type in (an edit field
  // measures its text as it is made, which loads the fonts).
  kankyou_cmb->setEditable(true);
  kankyou_cmb->setInsertPolicy(QComboBox::NoInsert);
  active_gbx->setTitle(ja("起動プロセス一覧"));
  kill_gbx->setTitle(ja("終了プロセス選択"));
  connect(kankyou_cmb->lineEdit(), &QLineEdit::textEdited, this,
          [this] { controller_->kankyou_cmb_typed(); });
  // Files dropped on the selector belong to the launch list like any other drop on the window.
  kankyou_cmb->lineEdit()->setAcceptDrops(false);
  attach_popup(kankyou_cmb->lineEdit(), kankyou_pop);
  for (QLabel* label : {Label1, handle_lbl, line_lbl, kill_lbl}) label->adjustSize();
  kankyou_cmb->resize(145, kankyou_cmb->sizeHint().height());
  active_drop_ = title_drop(active_gbx);
  kill_drop_ = title_drop(kill_gbx);
  for (QWidget* w :
       std::initializer_list<QWidget*>{handle_lbl, line_lbl, count_lbl, kill_sbtn, kill_lbl}) {
    w->move(w->x(), w->y() + kill_drop_);
  }
  layout_children();
}

int Tmain_frm::client_height() const {
  // Before the window is first shown the central widget has not been sized yet.
  if (client_->isVisible()) return client_->height();
  return height() - menuBar()->sizeHint().height();
}

void Tmain_frm::layout_children() {
  if (!decorated_) return;  // laid out when first shown
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
  if (watched == kill_lst->viewport()) return kill_lst_drag(event);
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

bool Tmain_frm::kill_lst_drag(QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* drag = static_cast<QDropEvent*>(event);
  // The list takes the drop, so files dropped on it must reach the launch list from here.
  if (drag->mimeData()->hasUrls()) {
    if (type == QEvent::Drop) {
      take_files(drag);
    } else {
      accept_copy(drag);
    }
    return true;
  }
  const ListId source = dragged_from(drag->mimeData(), handle_lst) ? ListId::handle_lst
                        : drag->source() == kill_lst               ? ListId::kill_lst
                        : drag->source() == active_lst             ? ListId::active_lst
                                                                   : ListId::other;
  if (!kill_lstDragOver(source)) {
    drag->ignore();
    return true;
  }
  drag->acceptProposedAction();
  if (type == QEvent::Drop) controller_->add_titles();
  return true;
}

std::vector<std::string> Tmain_frm::dropped_files(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return files;
}

void Tmain_frm::accept_copy(QDropEvent* event) {
  // Only the name is taken: the source must never take the drop for a move and delete the file.
  if (!(event->possibleActions() & Qt::CopyAction)) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void Tmain_frm::take_files(QDropEvent* event) {
  const std::vector<std::string> files = dropped_files(event->mimeData());
  accept_copy(event);
  if (files.empty() || !event->isAccepted()) return;
  // After the drop is through, so that a message about a refused name never holds the program
  // the files came from in its drag.
  QTimer::singleShot(0, this, [this, files] { controller_->drop_files(files); });
}

void Tmain_frm::dragEnterEvent(QDragEnterEvent* event) {
  // Whether the files are local is checked at the drop: asking now would fetch the data from
  // the source at every move.
  if (event->mimeData()->hasUrls()) accept_copy(event);
}

void Tmain_frm::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) accept_copy(event);
}

void Tmain_frm::dropEvent(QDropEvent* event) {
  take_files(event);
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
}

void Tmain_frm::setVisible(bool visible) {
  // The tray icon stands for the program: no taskbar button for the window.
  if (visible) decorate();
  if (visible && !isVisible() && tray_available()) keep_off_taskbar(winId());
  QMainWindow::setVisible(visible);
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
      // Until the window has been laid out, the designed place (measuring the menu bar now would
      // load the fonts at start-up).
      return decorated_ ? client_height() - kill_height_ - kSplitterHeight : kDesignSplitTop;
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

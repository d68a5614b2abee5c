#include "dialogs/about_dlg.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "dialogs/help.h"
#include "editor/command.h"
#include "platform/qt/icons.h"

namespace zorvek {

namespace {

constexpr const char* kWebAddress = "https://zorvek.example.org/";

}  // namespace

TAbout_dlg::TAbout_dlg(Shell& shell, Prompts& prompts) : shell_(shell), prompts_(prompts) {
  setObjectName(QStringLiteral("About_dlg"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle(QString::fromUtf8("バージョン情報"));

  auto* Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setFixedSize(48, 48);

  ProductName = new QLabel(QStringLiteral("Zorvek"), Panel1);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  QFont big = ProductName->font();
  big.setPixelSize(18);
  big.setBold(true);
  ProductName->setFont(big);

  auto* version_lbl = new QLabel(QStringLiteral("Version"), Panel1);
  version_lbl->setObjectName(QStringLiteral("version_lbl"));
  Version =
      new QLabel(QString::fromStdString(version_text(ZORVEK_VERSION_MAJOR, ZORVEK_VERSION_MINOR,
                                                     ZORVEK_VERSION_PATCH, ZORVEK_VERSION_TWEAK)),
                 Panel1);
  Version->setObjectName(QStringLiteral("Version"));
  auto* maker = new QLabel(QString::fromUtf8("Zorvek 開発チーム  2026"), Panel1);

  Comments = new QLabel(QStringLiteral("URL : ") + QLatin1String(kWebAddress), Panel1);
  Comments->setObjectName(QStringLiteral("Comments"));
  Comments->setStyleSheet(QStringLiteral("color: blue;"));
  Comments->setCursor(Qt::PointingHandCursor);
  Comments->setWordWrap(true);
  Comments->installEventFilter(this);

  auto* grid = new QGridLayout(Panel1);
  grid->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(ProductName, 0, 1, 1, 2);
  grid->addWidget(version_lbl, 1, 1);
  grid->addWidget(Version, 1, 2);
  grid->addWidget(maker, 2, 1, 1, 2);
  grid->addWidget(Comments, 3, 1, 1, 2);
  grid->setColumnStretch(2, 1);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel1);
  layout->addWidget(OKButton, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAbout_dlg::showEvent(QShowEvent* event) {
  // Painted when first shown, not at start-up.
  if (ProgramIcon->pixmap().isNull()) {
    setWindowIcon(image(Image::program));
    ProgramIcon->setPixmap(image(Image::program).pixmap(48, 48));
  }
  QDialog::showEvent(event);
}

void TAbout_dlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F1) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TAbout_dlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Comments && event->type() == QEvent::MouseButtonRelease) {
    CommentsClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TAbout_dlg::CommentsClick() {
  run_command(prompts_, [this] { open_link(shell_, prompts_, kWebAddress); });
}

}  // namespace zorvek

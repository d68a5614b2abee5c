#include "dialogs/get_name_dlg.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/codec.h"
#include "platform/qt/qt_text.h"

namespace zorvek {

Tget_name_dlg::Tget_name_dlg() : prompt_(QString::fromUtf8("保存名")) {
  setObjectName(QStringLiteral("get_name_dlg"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle(QString::fromUtf8("名前をつけて保存"));
  setFixedSize(312, 126);
}

void Tget_name_dlg::build() {
  if (newname_edt != nullptr) return;
  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(8, 8, 298, 71);

  title_lbl = new QLabel(prompt_, this);
  title_lbl->setObjectName(QStringLiteral("title_lbl"));
  title_lbl->move(24, 16);
  title_lbl->adjustSize();

  newname_edt = new QLineEdit(text_, this);
  newname_edt->setObjectName(QStringLiteral("newname_edt"));
  newname_edt->setGeometry(32, 40, 257, newname_edt->sizeHint().height());
  title_lbl->setBuddy(newname_edt);
  newname_edt->setAccessibleName(prompt_);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(79, 91, 75, 25);
  OKBtn->setDefault(true);
  OKBtn->setAutoDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

  CancelBtn = new QPushButton(QString::fromUtf8("キャンセル"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(159, 91, 75, 25);
  CancelBtn->setAutoDefault(false);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  connect(newname_edt, &QLineEdit::textChanged, this, [this] { newname_edtChange(); });
  newname_edtChange();
}

void Tget_name_dlg::set_caption(const std::string& caption) {
  setWindowTitle(to_qstring(caption));
}

void Tget_name_dlg::set_prompt(const std::string& prompt) {
  prompt_ = to_qstring(prompt);
  if (title_lbl == nullptr) return;
  title_lbl->setText(prompt_);
  title_lbl->adjustSize();
  newname_edt->setAccessibleName(prompt_);
}

void Tget_name_dlg::set_text(const std::string& text) {
  text_ = to_qstring(text);
  if (newname_edt != nullptr) newname_edt->setText(text_);
}

std::string Tget_name_dlg::text() const {
  return from_qstring(newname_edt != nullptr ? newname_edt->text() : text_);
}

bool Tget_name_dlg::show_modal() {
  build();
  newname_edt->setFocus();
  newname_edt->selectAll();
  // A disabled OK cannot be pressed, Enter included; the check keeps it so whatever the style.
  return exec() == QDialog::Accepted && !newname_edt->text().isEmpty();
}

void Tget_name_dlg::showEvent(QShowEvent* event) {
  build();
  QDialog::showEvent(event);
}

void Tget_name_dlg::accept() {
  if (!codec::to_cp932_exact(newname_edt->text().toStdString())) {
    QMessageBox::warning(this, QApplication::applicationName(),
                         QString::fromUtf8("「%1」には、保存できない文字が含まれています。")
                             .arg(newname_edt->text()));
    return;
  }
  QDialog::accept();
}

void Tget_name_dlg::newname_edtChange() {
  OKBtn->setEnabled(!newname_edt->text().isEmpty());
}

}  // namespace zorvek

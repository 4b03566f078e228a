#include "ui/main/tips_window.h"

#include <chrono>
#include <random>

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/help_topics.h"
#include "shell/tips.h"
#include "ui/help/help_key.h"
#include "ui/platform/desktop_services.h"

namespace quorrel {

namespace {

std::size_t RandomFirstTip() {
  std::mt19937 generator(static_cast<std::mt19937::result_type>(
      std::chrono::steady_clock::now().time_since_epoch().count()));
  return std::uniform_int_distribution<std::size_t>(0, kFirstTipChoices - 1)(generator);
}

QString TipText(std::size_t index) {
  return QString::fromUtf8(kTips[index].data(), static_cast<qsizetype>(kTips[index].size()));
}

}  // namespace

TfTipOfTheDay::TfTipOfTheDay(DesktopServices& desktop, HelpViewer& help, QWidget* parent)
    : TfTipOfTheDay(desktop, help, RandomFirstTip(), parent) {}

TfTipOfTheDay::TfTipOfTheDay(DesktopServices& desktop, HelpViewer& help, std::size_t index,
                             QWidget* parent)
    : QDialog(parent), desktop_(desktop), index_(index % kTipCount) {
  setObjectName("TfTipOfTheDay");
  setWindowTitle("Tips of the day");
  BindHelpKey(*this, help, help_context::kTipsWindow);
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  auto* heading = new QLabel(QString::fromUtf8(kTipHeading.data(), kTipHeading.size()));
  QFont headingFont = heading->font();
  headingFont.setPointSize(headingFont.pointSize() + 4);
  headingFont.setBold(true);
  heading->setFont(headingFont);
  lblTip = new QLabel;
  lblTip->setObjectName("lblTip");
  lblTip->setWordWrap(true);
  lblTip->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  lblTip->setMinimumHeight(90);
  cbDontShow = new QCheckBox("don't show this on start up again");
  cbDontShow->setObjectName("cbDontShow");
  btnNext = new QPushButton("&next  please");
  btnNext->setObjectName("btnNext");
  btnClose = new QPushButton("Oh, yes");
  btnClose->setObjectName("btnClose");
  btnClose->setDefault(true);
  btnPrint = new QPushButton("print them all");
  btnPrint->setObjectName("btnPrint");
  connect(btnNext, &QPushButton::clicked, this, [this] {
    index_ = NextTip(index_);
    showTip();
  });
  connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
  connect(btnPrint, &QPushButton::clicked, this, &TfTipOfTheDay::printAll);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnPrint);
  buttons->addStretch();
  buttons->addWidget(btnNext);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(lblTip, 1);
  layout->addWidget(cbDontShow);
  layout->addLayout(buttons);
  resize(440, 230);
  showTip();
}

void TfTipOfTheDay::closeEvent(QCloseEvent* event) {
  if (cbDontShow->isChecked()) emit expertModeChosen();
  QDialog::closeEvent(event);
}

void TfTipOfTheDay::showTip() { lblTip->setText(TipText(index_)); }

void TfTipOfTheDay::printAll() {
  QPrinter printer;
  if (!desktop_.choosePrinter(printer, this)) return;
  QPainter painter(&printer);
  const QRect page = painter.viewport();
  const int margin = page.width() / 20;
  QRect area = page.adjusted(margin, margin, -margin, -margin);
  QFont font("Sans", 12, QFont::Bold);
  painter.setFont(font);
  QRect used;
  painter.drawText(area, Qt::TextWordWrap, QString::fromUtf8(kTipHeading.data(), kTipHeading.size()),
                   &used);
  area.setTop(used.bottom() + used.height());
  font.setBold(false);
  font.setPointSize(10);
  painter.setFont(font);
  for (std::size_t i = 0; i < kTipCount; ++i) {
    const QString text = "... " + TipText(i);
    const QRect needed = painter.boundingRect(area, Qt::TextWordWrap, text);
    if (needed.bottom() > page.bottom() - margin) {
      printer.newPage();
      area.setTop(page.top() + margin);
    }
    painter.drawText(area, Qt::TextWordWrap, text, &used);
    area.setTop(used.bottom() + used.height() / 2);
  }
}

}  // namespace quorrel

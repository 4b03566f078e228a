#include "ui/main/about_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedLayout>
#include <QSysInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "shell/about_texts.h"
#include "shell/help_topics.h"
#include "ui/help/help_key.h"
#include "ui/main/artwork.h"
#include "ui/main/version_record.h"
#include "ui/platform/desktop_services.h"

namespace quorrel {

namespace {

OperatingSystem ThisSystem() {
  if (QSysInfo::kernelType() == "linux") {
    return LinuxKernel(QSysInfo::kernelVersion().toStdString());
  }
  return OperatingSystem{};
}

const char* const kHistory =
    "<h3>Version history</h3>"
    "<p><b>0.2</b> The desktop program: the main window with its menus and tool bar, the "
    "reflectivity and profile windows with mouse read-out, zoom and the fitting region, "
    "calculations on worker threads, the help pages and the user's settings kept between "
    "runs.</p>"
    "<p><b>0.1</b> The calculation core: the reflectivity of layered samples with roughness, "
    "resolution, background, both neutron spin states and the transmission; the density "
    "profile; the model, data and curve files; the fit; the material table; the command line "
    "tool quorrel-cli.</p>";

}  // namespace

TAboutBox::TAboutBox(DesktopServices& desktop, HelpViewer& help, QWidget* parent)
    : QDialog(parent), desktop_(desktop) {
  setObjectName("TAboutBox");
  setWindowTitle("Infos");
  BindHelpKey(*this, help, help_context::kAboutBox);
  setModal(true);
  setMouseTracking(true);

  Panel1 = new QFrame;
  Panel1->setObjectName("Panel1");
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setMouseTracking(true);
  auto* logo = new QLabel;
  logo->setPixmap(SplashImage().scaledToWidth(210, Qt::SmoothTransformation));
  Label1 = new QLabel;
  Label2 = new QLabel;
  Label3 = new QLabel;
  Label4 = new QLabel;
  Label5 = new QLabel;
  const char* names[] = {"Label1", "Label2", "Label3", "Label4", "Label5"};
  QLabel* labels[] = {Label1, Label2, Label3, Label4, Label5};
  auto* texts = new QVBoxLayout;
  for (int i = 0; i < 5; ++i) {
    labels[i]->setObjectName(names[i]);
    labels[i]->setMouseTracking(true);
    labels[i]->setWordWrap(true);
    texts->addWidget(labels[i]);
  }
  QFont productFont = Label1->font();
  productFont.setPointSize(productFont.pointSize() + 6);
  productFont.setBold(true);
  Label1->setFont(productFont);
  Label3->setCursor(Qt::PointingHandCursor);
  Label3->setStyleSheet("color: #0a4f9c; text-decoration: underline;");
  Label3->installEventFilter(this);
  texts->addStretch();
  auto* panelLayout = new QHBoxLayout(Panel1);
  panelLayout->addWidget(logo, 0, Qt::AlignTop);
  panelLayout->addLayout(texts, 1);

  History = new QTextBrowser;
  History->setObjectName("History");
  History->setHtml(kHistory);

  auto* pages = new QStackedLayout;
  pages->setStackingMode(QStackedLayout::StackAll);
  pages->addWidget(History);
  pages->addWidget(Panel1);
  History->hide();

  OKButton = new QPushButton("&OK");
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  Button2 = new QPushButton("&more info");
  Button2->setObjectName("Button2");
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &TAboutBox::toggleHistory);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button2);
  buttons->addStretch();
  buttons->addWidget(OKButton);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(pages);
  layout->addLayout(buttons);
  resize(560, 260);
}

void TAboutBox::showEvent(QShowEvent* event) {
  // Filled each time the box is shown.
  Label1->setText(version_record::kProductName);
  Label2->setText(QString::fromStdString(VersionLabel(version_record::kFileVersion)));
  Label3->setText(version_record::kCompanyName);
  Label4->setText(QString::fromStdString(OperatingSystemLabel(ThisSystem())));
  Label5->setText(version_record::kFileDescription);
  QDialog::showEvent(event);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label3) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
      emit statusText("click here to send an e-mail to the author");
      // Kept from the box, which clears the text for moves over the rest of it.
      return event->type() == QEvent::MouseMove;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
      desktop_.writeMail(contactAddress_, "Quorrel");
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutBox::mouseMoveEvent(QMouseEvent* event) {
  emit statusText(QString());
  QDialog::mouseMoveEvent(event);
}

void TAboutBox::toggleHistory() {
  const bool showHistory = History->isHidden();
  History->setVisible(showHistory);
  Panel1->setVisible(!showHistory);
  OKButton->setVisible(!showHistory);
  Button2->setText(showHistory ? "&less info" : "&more info");
}

}  // namespace quorrel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPanel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

#include "PreviewPath.h"
#include "PreviewCanvas.h"
#include "readback/TargetReader.h"
#include "app/text/QtText.h"

namespace torvane {
namespace {

QString LineNumberList(const std::vector<std::size_t>& lines) {
  constexpr std::size_t kShown = 12;
  QStringList parts;
  for (std::size_t i = 0; i < lines.size() && i < kShown; ++i) parts << QString::number(lines[i]);
  QString text = parts.join(", ");
  if (lines.size() > kShown) text += QStringLiteral(" … (%1 Zeilen)").arg(lines.size());
  return text;
}

}  // namespace

PreviewPanel::PreviewPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("Vorschau");
  setMinimumHeight(120);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // A header like the panes' headers, with the view buttons on it.
  auto* header = new QWidget(this);
  header->setFixedHeight(24);
  header->setAutoFillBackground(true);
  QPalette palette = header->palette();
  palette.setColor(QPalette::Window, QColor(0, 0, 128));
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::ButtonText, Qt::white);
  header->setPalette(palette);
  auto* headerLayout = new QHBoxLayout(header);
  headerLayout->setContentsMargins(8, 0, 4, 0);
  headerLayout->setSpacing(4);
  auto* title = new QLabel(QStringLiteral("VORSCHAU"), header);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  headerLayout->addWidget(title);
  headerLayout->addSpacing(16);
  auto button = [header, headerLayout](const QString& text, const QString& tip) {
    auto* b = new QToolButton(header);
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFixedHeight(22);
    headerLayout->addWidget(b, 0, Qt::AlignBottom);
    return b;
  };
  Button3D = button(QStringLiteral("3D"), QStringLiteral("Das Programm auf dem Zylinder"));
  ButtonFlat = button(QStringLiteral("Abwicklung"),
                      QStringLiteral("Die Mantelfläche abgewickelt: Z nach rechts, Umfang nach oben"));
  Button3D->setCheckable(true);
  ButtonFlat->setCheckable(true);
  Button3D->setChecked(true);
  // The two views are tabs: the one shown joins the picture below it, the
  // other stays on the header.
  const QString tabs = QStringLiteral(
      "QToolButton { color: #d8dcf0; background: transparent; border: 1px solid transparent;"
      " border-top-left-radius: 4px; border-top-right-radius: 4px; padding: 1px 12px; }"
      "QToolButton:hover:!checked { background: #1c2c9c; color: white; }"
      "QToolButton:checked { color: black; background: #f6f7f9; border-color: #f6f7f9;"
      " font-weight: bold; }");
  Button3D->setStyleSheet(tabs);
  ButtonFlat->setStyleSheet(tabs);
  auto* group = new QButtonGroup(this);
  group->addButton(Button3D);
  group->addButton(ButtonFlat);
  headerLayout->addSpacing(16);
  ButtonFit = button(QStringLiteral("Ansicht einpassen"),
                     QStringLiteral("Das ganze Werkstück in das Bild einpassen, die Drehung bleibt"));
  ButtonReset = button(QStringLiteral("Ansicht zurücksetzen"), QStringLiteral("Drehung und Zoom zurücksetzen"));
  headerLayout->addStretch(1);

  canvas_ = new PreviewCanvas(this);
  canvas_->setToolTip(QStringLiteral(
      "Ziehen dreht den Zylinder (Umschalt oder rechte Taste: verschieben), das Mausrad "
      "zoomt, ein Klick auf eine Bewegung setzt die Schreibmarke auf ihre Zeile"));
  summary_ = new QLabel(this);
  summary_->setContentsMargins(8, 2, 8, 2);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  layout->addWidget(header);
  layout->addWidget(canvas_, 1);
  layout->addWidget(summary_);

  connect(Button3D, &QToolButton::clicked, this,
          [this] { canvas_->SetMode(PreviewCanvas::Mode::Cylinder); });
  connect(ButtonFlat, &QToolButton::clicked, this,
          [this] { canvas_->SetMode(PreviewCanvas::Mode::Flat); });
  connect(ButtonFit, &QToolButton::clicked, canvas_, &PreviewCanvas::FitView);
  connect(ButtonReset, &QToolButton::clicked, canvas_, &PreviewCanvas::ResetView);
  connect(canvas_, &PreviewCanvas::LineClicked, this, &PreviewPanel::LineClicked);
  ShowNothing(QStringLiteral("Die Vorschau zeigt das MANTEL-Programm nach der Konvertierung."));
}

void PreviewPanel::ShowProgram(const std::vector<std::string>& lines,
                                const ConversionSettings& settings, long double diameter,
                                bool sameProgram) {
  ShowProgram(
      [&lines](const LineTaker& take) { for (const std::string& line : lines) take(line); },
      settings, diameter, sameProgram);
}

void PreviewPanel::ShowProgram(const std::function<void(const LineTaker&)>& eachLine,
                                const ConversionSettings& settings, long double diameter,
                                bool sameProgram) {
  TargetReader reader(settings, diameter);
  if (!reader.Unreadable().empty()) {
    ShowNothing(QStringLiteral("Keine Vorschau: ") +
                BytesToQString(reader.Unreadable()) + ".");
    return;
  }
  eachLine([&reader](std::string_view line) { reader.Read(line); });
  ReadBack read = reader.Take();
  const std::size_t moves = read.moves.size();
  auto path = std::make_shared<PreviewPath>(
      std::move(read.moves), diameter,
      settings.erot == 1 ? AngleTravel::AsWritten : AngleTravel::Modulo, settings.einv);
  QString summary = QStringLiteral("%1 Bewegungen").arg(moves);
  if (!read.unreadLines.empty())
    summary += QStringLiteral(" · nicht gelesen (Vorspann, Nachspann, eigener Text): Zeile ") +
               LineNumberList(read.unreadLines);
  summary_->setText(summary);
  canvas_->SetAxisName(BytesToQString(settings.axis));
  canvas_->SetPath(std::move(path), sameProgram);
}

void PreviewPanel::ShowNothing(const QString& reason) {
  canvas_->SetMessage(reason);
  summary_->clear();
}

void PreviewPanel::SetCaretLine(std::size_t line) { canvas_->SetCaretLine(line); }

}  // namespace torvane

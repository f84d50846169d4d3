// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QFrame;
class QLabel;

namespace torvane {

class TXPSpeedButton;

// The about box: product and version on the left; on the right the
// licence, the Qt and QScintilla versions in use and the folder that holds
// the settings, with a button that opens it. Created once and shown
// modally any number of times.
class TInfo : public QDialog {
  Q_OBJECT

 public:
  // Hands a link to the desktop. Whether it worked is not looked at.
  using UrlOpener = std::function<bool(const QUrl&)>;

  explicit TInfo(QWidget* parent = nullptr);

  void ShowModal() { exec(); }

  // The folder the program keeps its settings in; shortened in the middle
  // when it is wider than the column, whole in its tool tip. Empty: none
  // is shown and the button is off.
  void SetSettingsFolder(const QString& folder);
  QString SettingsFolder() const { return settingsFolder_; }

  // Replaces the desktop's URL handler, for tests; an empty opener brings
  // it back.
  void SetUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }

  // What the folder button hands to the desktop.
  QUrl FolderTarget() const;

  void setVisible(bool visible) override;

  QFrame* Shape5 = nullptr;
  QLabel* Label5 = nullptr;
  QFrame* Shape3 = nullptr;
  QLabel* Label8 = nullptr;
  QFrame* Shape4 = nullptr;
  QFrame* Shape1 = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label13 = nullptr;
  QLabel* Version = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label2 = nullptr;
  // The right column: a caption and its value per row.
  QLabel* LabelLizenz = nullptr;
  QLabel* Lizenz = nullptr;
  QLabel* LabelQt = nullptr;
  QLabel* QtVersion = nullptr;
  QLabel* LabelQScintilla = nullptr;
  QLabel* QScintillaVersion = nullptr;
  QLabel* LabelOrdner = nullptr;
  QLabel* Ordner = nullptr;
  TXPSpeedButton* OrdnerOeffnen = nullptr;
  TXPSpeedButton* Schliessen = nullptr;

 public slots:
  void FormShow();
  void OrdnerOeffnenClick();
  void SchliessenClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  UrlOpener opener_;
  QString settingsFolder_;
};

}  // namespace torvane

#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QFrame;
class QLabel;

namespace torvane {

class TXPSpeedButton;

// The about box: product, version, and links to the web site and to a new
// mail to the maker. Created once and shown modally any number of times.
class TInfo : public QDialog {
  Q_OBJECT

 public:
  // Hands a link to the desktop. Whether it worked is not looked at.
  using UrlOpener = std::function<bool(const QUrl&)>;

  explicit TInfo(QWidget* parent = nullptr);

  void ShowModal() { exec(); }

  // Replaces the desktop's URL handler, for tests; an empty opener brings
  // it back.
  void SetUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }

  // The link targets as handed to the desktop.
  QString LinkTarget() const;
  QString EmailTarget() const;

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
  QLabel* Name = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Telefon = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Telefax = nullptr;
  TXPSpeedButton* Email = nullptr;
  TXPSpeedButton* Link = nullptr;
  TXPSpeedButton* Schliessen = nullptr;

 public slots:
  void FormShow();
  void LinkClick();
  void EmailClick();
  void SchliessenClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Open(const QString& target);

  UrlOpener opener_;
};

}  // namespace torvane

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QPen>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QShortcut;

namespace torvane {

// The flat button used on every window of the program: a rounded face in
// one of three brush-and-pen pairs, a glyph and a caption. With GroupIndex 0
// it is a push button; otherwise it latches (Down) and forms a group with the
// buttons on the same parent that share its GroupIndex. It never takes the
// keyboard focus, so the field the user is typing in keeps it.
class TXPSpeedButton : public QWidget {
  Q_OBJECT

 public:
  // Also the order of the images in a glyph strip.
  enum class ButtonState { Up, Disabled, Down, Latched };
  Q_ENUM(ButtonState)

  enum class ButtonLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };
  Q_ENUM(ButtonLayout)

  explicit TXPSpeedButton(QWidget* parent = nullptr);
  ~TXPSpeedButton() override;

  QString Caption() const { return caption_; }
  // "&" marks the accelerator letter, fired with Alt.
  void SetCaption(const QString& caption);

  QPixmap Glyph() const { return glyph_; }
  // A pixmap without alpha takes the colour of its lower-left pixel as the
  // transparent one.
  void SetGlyph(const QPixmap& glyph);
  int NumGlyphs() const { return numGlyphs_; }
  // Images side by side in Glyph: up, disabled, down, latched.
  void SetNumGlyphs(int count);

  ButtonLayout Layout() const { return layout_; }
  void SetLayout(ButtonLayout layout);
  int Margin() const { return margin_; }
  // -1 centres glyph and caption together.
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  bool Flat() const { return flat_; }
  // Flat buttons show the active colours while the mouse is over them.
  void SetFlat(bool flat);
  int Radius() const { return radius_; }
  // Width and height of the ellipse that rounds the corners.
  void SetRadius(int radius);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  QBrush BrushNormal() const { return brushNormal_; }
  void SetBrushNormal(const QBrush& brush);
  QPen PenNormal() const { return penNormal_; }
  void SetPenNormal(const QPen& pen);
  QBrush BrushActive() const { return brushActive_; }
  void SetBrushActive(const QBrush& brush);
  QPen PenActive() const { return penActive_; }
  void SetPenActive(const QPen& pen);
  QBrush BrushDown() const { return brushDown_; }
  void SetBrushDown(const QBrush& brush);
  QPen PenDown() const { return penDown_; }
  void SetPenDown(const QPen& pen);

  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int groupIndex);
  bool Down() const { return down_; }
  // Follows the group rules: ignored for push buttons, and a latched button
  // of a group without AllowAllUp refuses to go up on its own.
  void SetDown(bool down);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool allowAllUp);

  ButtonState State() const { return state_; }
  bool MouseInside() const { return mouseInside_; }

  // Fires OnClick as a mouse click or the accelerator would.
  void Click();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void OnClick();
  void OnDblClick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SendGroupMessage();
  void ReceiveGroupMessage(int groupIndex, TXPSpeedButton* sender);
  void SyncEnabledState();
  void UpdateTracking();
  void UpdateAccelerator();
  void PressAt();
  bool HitForClick(const QPoint& pos) const;
  QPixmap StateImage() const;

  QString caption_;
  QPixmap glyph_;
  int numGlyphs_ = 1;
  ButtonLayout layout_ = ButtonLayout::GlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool flat_ = true;
  int radius_ = 2;
  bool transparent_ = true;
  QBrush brushNormal_{Qt::white};
  QPen penNormal_{Qt::black, 1};
  QBrush brushActive_{Qt::white};
  QPen penActive_{Qt::black, 1};
  QBrush brushDown_{Qt::white};
  QPen penDown_{Qt::black, 1};
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;

  ButtonState state_ = ButtonState::Up;
  bool mouseInside_ = false;
  bool dragging_ = false;
  QShortcut* accelerator_ = nullptr;
};

}  // namespace torvane

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/widgets/TXPSpeedButton.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QImage>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>

#include <algorithm>

namespace torvane {
namespace {

struct ContentPlace {
  QPoint glyph;
  QRect text;
};

// Places glyph and caption along the layout's axis as if the glyph came
// first, then mirrors for the right and bottom layouts, so that Margin always
// counts from the edge the glyph stands at.
ContentPlace PlaceContent(const QSize& client, const QSize& glyph, const QSize& text,
                          TXPSpeedButton::ButtonLayout layout, int margin, int spacing) {
  using Layout = TXPSpeedButton::ButtonLayout;
  const bool horizontal = layout == Layout::GlyphLeft || layout == Layout::GlyphRight;
  const bool mirrored = layout == Layout::GlyphRight || layout == Layout::GlyphBottom;
  const int along = horizontal ? client.width() : client.height();
  const int across = horizontal ? client.height() : client.width();
  const int glyphLength = horizontal ? glyph.width() : glyph.height();
  const int textLength = horizontal ? text.width() : text.height();
  const int gap = (glyph.isEmpty() || text.isEmpty()) ? 0 : std::max(spacing, 0);

  int glyphAt = 0;
  int textAt = 0;
  if (margin < 0) {
    glyphAt = (along - (glyphLength + gap + textLength)) / 2;
    textAt = glyphAt + glyphLength + gap;
  } else {
    glyphAt = margin;
    // A negative spacing centres the caption in the room beside the glyph.
    textAt = spacing < 0 ? glyphAt + glyphLength + (along - margin - glyphLength - textLength) / 2
                         : glyphAt + glyphLength + gap;
  }
  if (mirrored) {
    glyphAt = along - glyphAt - glyphLength;
    textAt = along - textAt - textLength;
  }

  const int glyphAcross = (across - (horizontal ? glyph.height() : glyph.width())) / 2;
  const int textAcross = (across - (horizontal ? text.height() : text.width())) / 2;
  ContentPlace place;
  if (horizontal) {
    place.glyph = QPoint(glyphAt, glyphAcross);
    place.text = QRect(QPoint(textAt, textAcross), text);
  } else {
    place.glyph = QPoint(glyphAcross, glyphAt);
    place.text = QRect(QPoint(textAcross, textAt), text);
  }
  return place;
}

// The disabled look of a glyph that brings no image of its own for it:
// a light grey shadow of the up image.
QPixmap GreyedImage(const QPixmap& up) {
  QImage image = up.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = 128 + qGray(line[x]) / 2;
      line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace

TXPSpeedButton::TXPSpeedButton(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  // Without tracking a flat button could miss the pointer that was already
  // over it when it became enabled or visible.
  setMouseTracking(true);
  resize(22, 23);
}

TXPSpeedButton::~TXPSpeedButton() = default;

void TXPSpeedButton::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  UpdateAccelerator();
  updateGeometry();
  update();
}

void TXPSpeedButton::SetGlyph(const QPixmap& glyph) {
  glyph_ = glyph;
  if (!glyph_.isNull() && !glyph_.hasAlphaChannel()) {
    QImage image = glyph_.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if (line[x] == transparent) line[x] = qRgba(0, 0, 0, 0);
    }
    glyph_ = QPixmap::fromImage(image);
  }
  updateGeometry();
  update();
}

void TXPSpeedButton::SetNumGlyphs(int count) {
  count = std::clamp(count, 1, 4);
  if (count == numGlyphs_) return;
  numGlyphs_ = count;
  updateGeometry();
  update();
}

void TXPSpeedButton::SetLayout(ButtonLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  updateGeometry();
  update();
}

void TXPSpeedButton::SetMargin(int margin) {
  if (margin == margin_) return;
  margin_ = margin;
  update();
}

void TXPSpeedButton::SetSpacing(int spacing) {
  if (spacing == spacing_) return;
  spacing_ = spacing;
  updateGeometry();
  update();
}

void TXPSpeedButton::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  mouseInside_ = false;
  UpdateTracking();
  update();
}

void TXPSpeedButton::SetRadius(int radius) {
  if (radius == radius_) return;
  radius_ = radius;
  update();
}

void TXPSpeedButton::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  update();
}

void TXPSpeedButton::SetBrushNormal(const QBrush& brush) { brushNormal_ = brush; update(); }
void TXPSpeedButton::SetPenNormal(const QPen& pen) { penNormal_ = pen; update(); }
void TXPSpeedButton::SetBrushActive(const QBrush& brush) { brushActive_ = brush; update(); }
void TXPSpeedButton::SetPenActive(const QPen& pen) { penActive_ = pen; update(); }
void TXPSpeedButton::SetBrushDown(const QBrush& brush) { brushDown_ = brush; update(); }
void TXPSpeedButton::SetPenDown(const QPen& pen) { penDown_ = pen; update(); }

void TXPSpeedButton::SetGroupIndex(int groupIndex) {
  if (groupIndex == groupIndex_) return;
  groupIndex_ = groupIndex;
  // A push button is never down.
  if (groupIndex_ == 0 && down_) {
    down_ = false;
    if (state_ == ButtonState::Latched) state_ = ButtonState::Up;
    update();
  }
  SendGroupMessage();
}

void TXPSpeedButton::SetDown(bool down) {
  if (groupIndex_ == 0) down = false;
  if (down == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = down;
  if (isEnabled()) state_ = down_ ? ButtonState::Latched : ButtonState::Up;
  update();
  if (down_) SendGroupMessage();
}

void TXPSpeedButton::SetAllowAllUp(bool allowAllUp) {
  allowAllUp_ = allowAllUp;
  // Sent even when the value stays, so that a group always agrees.
  SendGroupMessage();
}

void TXPSpeedButton::SendGroupMessage() {
  if (groupIndex_ == 0 || parentWidget() == nullptr) return;
  const auto siblings =
      parentWidget()->findChildren<TXPSpeedButton*>(Qt::FindDirectChildrenOnly);
  for (TXPSpeedButton* sibling : siblings) sibling->ReceiveGroupMessage(groupIndex_, this);
}

void TXPSpeedButton::ReceiveGroupMessage(int groupIndex, TXPSpeedButton* sender) {
  if (groupIndex != groupIndex_ || sender == this) return;
  if (sender->down_ && down_) {
    // Released by the group, not by a request of its own: no message back.
    down_ = false;
    if (state_ != ButtonState::Disabled) state_ = ButtonState::Up;
    update();
  }
  allowAllUp_ = sender->allowAllUp_;
}

void TXPSpeedButton::Click() { emit OnClick(); }

QSize TXPSpeedButton::minimumSizeHint() const { return QSize(22, 23); }

QSize TXPSpeedButton::sizeHint() const {
  const QSize text =
      caption_.isEmpty() ? QSize() : fontMetrics().size(Qt::TextShowMnemonic, caption_);
  const QSize glyph =
      glyph_.isNull() ? QSize() : QSize(glyph_.width() / numGlyphs_, glyph_.height());
  const int gap = (text.isEmpty() || glyph.isEmpty()) ? 0 : std::max(spacing_, 0);
  const bool horizontal =
      layout_ == ButtonLayout::GlyphLeft || layout_ == ButtonLayout::GlyphRight;
  QSize content = horizontal
      ? QSize(glyph.width() + gap + text.width(), std::max(glyph.height(), text.height()))
      : QSize(std::max(glyph.width(), text.width()), glyph.height() + gap + text.height());
  return content.grownBy(QMargins(8, 4, 8, 4)).expandedTo(minimumSizeHint());
}

void TXPSpeedButton::SyncEnabledState() {
  if (!isEnabled()) {
    state_ = ButtonState::Disabled;
    dragging_ = false;
  } else if (state_ == ButtonState::Disabled) {
    state_ = (down_ && groupIndex_ != 0) ? ButtonState::Latched : ButtonState::Up;
  }
}

QPixmap TXPSpeedButton::StateImage() const {
  if (glyph_.isNull()) return {};
  const int width = glyph_.width() / numGlyphs_;
  int index = static_cast<int>(state_);
  const bool ownImage = index < numGlyphs_;
  if (!ownImage) {
    // A strip of three has a pressed image, which suits a latched button
    // better than the up image.
    index = (state_ == ButtonState::Latched && numGlyphs_ == 3) ? 2 : 0;
  }
  const QPixmap image = glyph_.copy(index * width, 0, width, glyph_.height());
  return (state_ == ButtonState::Disabled && !ownImage) ? GreyedImage(image) : image;
}

void TXPSpeedButton::paintEvent(QPaintEvent*) {
  SyncEnabledState();
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);

  const auto drawFace = [&](const QPen& pen, const QBrush& brush) {
    const qreal half = pen.style() == Qt::NoPen ? 0.0 : std::max<qreal>(pen.widthF(), 1.0) / 2;
    painter.setPen(pen);
    painter.setBrush(brush);
    // Radius is the size of the corner ellipse, so the corner radius is half.
    painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), radius_ / 2.0,
                            radius_ / 2.0);
  };
  const bool latched = state_ == ButtonState::Latched;
  const bool active = state_ == ButtonState::Down || latched ||
                      (mouseInside_ && state_ != ButtonState::Disabled);
  drawFace(active ? penActive_ : penNormal_, active ? brushActive_ : brushNormal_);
  // Under the mouse a latched flat button shows that a click would act on it.
  if (latched && (!flat_ || !mouseInside_)) drawFace(penDown_, brushDown_);

  const QPixmap image = StateImage();
  const QSize textSize =
      caption_.isEmpty() ? QSize() : fontMetrics().size(Qt::TextShowMnemonic, caption_);
  const ContentPlace place =
      PlaceContent(size(), image.isNull() ? QSize() : image.size(), textSize, layout_, margin_,
                   spacing_);
  if (!image.isNull()) painter.drawPixmap(place.glyph, image);
  if (caption_.isEmpty()) return;

  const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
  if (!transparent_) painter.fillRect(place.text, palette().button());
  if (state_ == ButtonState::Disabled) {
    // Engraved, as disabled captions look on the classic desktop.
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Light));
    painter.drawText(place.text.translated(1, 1), flags, caption_);
    painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
  } else {
    painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
  }
  painter.drawText(place.text, flags, caption_);
}

// The line just below the face still counts as inside, so a release that
// slips one pixel off the bottom edge still clicks.
bool TXPSpeedButton::HitForClick(const QPoint& pos) const {
  return pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() <= height();
}

void TXPSpeedButton::PressAt() {
  if (!isEnabled()) return;
  if (state_ != ButtonState::Latched) {
    state_ = ButtonState::Down;
    update();
  }
  dragging_ = true;
}

void TXPSpeedButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  PressAt();
}

void TXPSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  // The second press of a double click presses the button like the first.
  PressAt();
  if (down_) emit OnDblClick();
}

void TXPSpeedButton::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    ButtonState next = down_ ? ButtonState::Latched : ButtonState::Up;
    if (HitForClick(event->position().toPoint()) && !down_) next = ButtonState::Down;
    if (next != state_) {
      state_ = next;
      update();
    }
  } else if (!mouseInside_) {
    UpdateTracking();
  }
}

void TXPSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) {
    event->ignore();
    return;
  }
  dragging_ = false;
  const bool inside = HitForClick(event->position().toPoint());
  if (groupIndex_ == 0) {
    state_ = ButtonState::Up;
    mouseInside_ = false;
  } else if (inside) {
    SetDown(!down_);
  } else {
    state_ = down_ ? ButtonState::Latched : ButtonState::Up;
  }
  update();

  // The click may close the window, open a modal one or delete this button.
  const QPointer<TXPSpeedButton> alive(this);
  if (inside) Click();
  if (alive) UpdateTracking();
}

void TXPSpeedButton::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (flat_ && isEnabled() && !mouseInside_ && QWidget::mouseGrabber() == nullptr) {
    mouseInside_ = true;
    update();
  }
}

void TXPSpeedButton::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (flat_ && isEnabled() && mouseInside_ && !dragging_) {
    mouseInside_ = false;
    update();
  }
}

void TXPSpeedButton::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) {
    SyncEnabledState();
    UpdateTracking();
    update();
  }
}

// Asks where the pointer really is: after a click that ran a modal window
// it may be far away although no leave event reached this button.
void TXPSpeedButton::UpdateTracking() {
  if (!flat_ || !isEnabled()) return;
  const bool inside = isVisible() && QApplication::widgetAt(QCursor::pos()) == this;
  if (inside == mouseInside_) return;
  mouseInside_ = inside;
  update();
}

void TXPSpeedButton::UpdateAccelerator() {
  const QKeySequence key = QKeySequence::mnemonic(caption_);
  if (key.isEmpty()) {
    delete accelerator_;
    accelerator_ = nullptr;
    return;
  }
  if (accelerator_ == nullptr) {
    accelerator_ = new QShortcut(this);
    accelerator_->setContext(Qt::WindowShortcut);
    const auto fire = [this] {
      if (isEnabled() && isVisible()) Click();
    };
    connect(accelerator_, &QShortcut::activated, this, fire);
    // Two buttons with the same letter: the one the shortcut map picks fires.
    connect(accelerator_, &QShortcut::activatedAmbiguously, this, fire);
  }
  accelerator_->setKey(key);
}

}  // namespace torvane

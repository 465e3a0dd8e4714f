#pragma once
// A frame that shows one of the explanatory pictures of the opening dialogs. The picture is drawn
// by the core at the frame's size on every paint, so it scales with the dialog and stays sharp.

#include "model/OpeningPictures.h"

#include <QWidget>
#include <functional>

class CPictureFrame : public QWidget {
    Q_OBJECT
  public:
    using Painter = std::function<void(IDrawCanvas& canvas, const PictureBox& box)>;
    CPictureFrame(Painter painter, QSize minimum, QWidget* parent = nullptr);
    // Draws the picture onto any canvas at the frame's present size (the tests' recording canvas).
    void DrawInto(IDrawCanvas& canvas) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Painter m_Painter;
};

#pragma once
// The drawing area of the 3D viewer: turns left drags into rotation, right drags into panning
// and the wheel into zoom, and holds an OpenGL canvas that draws the drawing from those numbers.
// Without OpenGL (no context could be made) the area stays empty but still takes the mouse.
// Note: a QOpenGLWidget must not exist where no context can be made (its window could not be
// shown), so the canvas is a child made only on request.

#include "ui/view3d/OglViewState.h"

#include <QOpenGLWidget>
#include <QPoint>
#include <QWidget>

class CDxfFile;
class COglCanvas;
class COglLabels;
class QOpenGLFunctions_1_1;
class QPainter;

enum { MESH_DISPLAY_FACES = 0, MESH_DISPLAY_LINES = 1, MESH_DISPLAY_POINTS = 2 };

class COglView : public QWidget {
    Q_OBJECT
  public:
    COglView(bool withOpenGL, QWidget* parent = nullptr);
    ~COglView() override;

    // The drawing shown (not owned; null shows nothing); its extents are taken now.
    void SetDrawing(const CDxfFile* drawing);
    const CDxfFile* GetDrawing() const { return m_pDrawing; }
    void SetShowText(bool show);
    bool GetShowText() const { return m_bShowText; }
    // A standard view: these angles, no pan, zoom 1.
    void SetView(double rotX, double rotY, double rotZ);
    // Only the angles.
    void SetRotation(double rotX, double rotY, double rotZ);
    const COglViewState& GetState() const { return m_State; }
    void SetMeshDisplayMode(int mode);
    int GetMeshDisplayMode() const { return m_iMeshDisplayMode; }
    // Whether OpenGL drew into the area at least once.
    bool HasPainted() const;

    // The compatibility-profile format the viewer asks for: RGBA, 16-bit depth buffer.
    static QSurfaceFormat RequestedFormat();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ChangeState(const COglViewState& state);
    // Repaints; rebuild: the display list is out of date.
    void Repaint(bool rebuild);

    const CDxfFile* m_pDrawing = nullptr;
    COglViewState m_State;
    bool m_bShowText = true;
    bool m_bRotating = false; // left button down
    bool m_bPanning = false;  // right button down
    bool m_bHavePrevious = false;
    QPoint m_Previous;
    int m_iMeshDisplayMode = MESH_DISPLAY_FACES;
    COglCanvas* m_pCanvas = nullptr;
    COglLabels* m_pLabels = nullptr;
};

// The text labels and the first hint, drawn over the canvas (raster painting on a transparent
// layer, which every OpenGL implementation composes alike).
class COglLabels : public QWidget {
    Q_OBJECT
  public:
    explicit COglLabels(COglView& view);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    COglView& m_View;
    bool m_bPainted = false;
};

// Draws its view's drawing with OpenGL's fixed-function pipeline from a display list.
class COglCanvas : public QOpenGLWidget {
    Q_OBJECT
  public:
    explicit COglCanvas(COglView& view);
    ~COglCanvas() override;
    void Invalidate(bool rebuild);
    bool HasPainted() const { return m_iPaints > 0; }

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    void BuildDisplayList(QOpenGLFunctions_1_1& gl);

    COglView& m_View;
    unsigned m_uDisplayList = 0;
    bool m_bRebuild = true; // the drawing or the mesh display mode changed since the list was built
    bool m_bLoggedVersion = false;
    int m_iPaints = 0;
    QOpenGLFunctions_1_1* m_pGl = nullptr;
};

#include "ui/view3d/OglView.h"

#include "base/Logger.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfMesh.h"
#include "dxf/DxfPalette.h"
#include "dxf/DxfPgonMesh.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfText.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265359;
const char* const kHint = "Click here and drag mouse to rotate";

// The colour of an entity as texts are coloured on the floor plan: its layer's pen colour (white
// without a layer), a palette colour, else grey.
Rgb EntityColour(const CDxfEntity& e) {
    const int colour = e.GetColour();
    if (colour == kColourByLayer)
        return e.GetLayer() ? e.GetLayer()->m_ThinColourPen.colour : MakeRgb(255, 255, 255);
    if (colour >= 1 && colour <= 255) return GetPaletteColour(colour);
    return MakeRgb(127, 127, 127);
}

bool IsShown(const CDxfEntity& e) {
    return !e.GetLayer() || e.GetLayer()->m_bVisible;
}

QColor ToQColor(Rgb c) {
    return QColor(RgbRed(c), RgbGreen(c), RgbBlue(c));
}

} // namespace

COglView::COglView(bool withOpenGL, QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    if (!withOpenGL) return;
    m_pCanvas = new COglCanvas(*this);
    m_pLabels = new COglLabels(*this);
    m_pLabels->raise();
}

COglView::~COglView() = default;

QSurfaceFormat COglView::RequestedFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(16);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    return format;
}

bool COglView::HasPainted() const {
    return m_pCanvas && m_pCanvas->HasPainted();
}

void COglView::Repaint(bool rebuild) {
    if (m_pCanvas) m_pCanvas->Invalidate(rebuild);
    if (m_pLabels) m_pLabels->update();
}

void COglView::SetDrawing(const CDxfFile* drawing) {
    m_pDrawing = drawing;
    if (drawing) drawing->GetExtents(m_State.m_BoxMin, m_State.m_BoxMax);
    Repaint(true);
}

void COglView::SetShowText(bool show) {
    if (show == m_bShowText) return;
    m_bShowText = show;
    Repaint(false);
}

void COglView::SetView(double rotX, double rotY, double rotZ) {
    COglViewState state = m_State;
    state.SetView(rotX, rotY, rotZ);
    ChangeState(state);
}

void COglView::SetRotation(double rotX, double rotY, double rotZ) {
    COglViewState state = m_State;
    state.m_dRotX = rotX;
    state.m_dRotY = rotY;
    state.m_dRotZ = rotZ;
    ChangeState(state);
}

void COglView::SetMeshDisplayMode(int mode) {
    if (mode == m_iMeshDisplayMode) return;
    m_iMeshDisplayMode = mode;
    Repaint(true);
}

void COglView::ChangeState(const COglViewState& state) {
    // Only a real change repaints: the picture is kept between paints.
    if (state == m_State) return;
    m_State = state;
    Repaint(false);
}

void COglView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_pCanvas) m_pCanvas->setGeometry(rect());
    if (m_pLabels) m_pLabels->setGeometry(rect());
}

void COglView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_bRotating = true;
    if (event->button() == Qt::RightButton) m_bPanning = true;
    m_Previous = event->position().toPoint();
    m_bHavePrevious = true;
}

void COglView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_bRotating = false;
    if (event->button() == Qt::RightButton) m_bPanning = false;
}

void COglView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_bHavePrevious) {
        const int dx = m_Previous.x() - at.x(), dy = m_Previous.y() - at.y();
        COglViewState state = m_State;
        if (m_bRotating) state.Rotate(dx, dy);
        if (m_bPanning) state.Pan(dx, dy);
        ChangeState(state);
    }
    m_Previous = at;
    m_bHavePrevious = true;
}

void COglView::wheelEvent(QWheelEvent* event) {
    COglViewState state = m_State;
    if (state.Wheel(event->angleDelta().y())) ChangeState(state);
    event->accept();
}

// ---- The OpenGL canvas ----

COglCanvas::COglCanvas(COglView& view) : QOpenGLWidget(&view), m_View(view) {
    setFormat(COglView::RequestedFormat());
    // The view takes the mouse and the wheel.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

COglCanvas::~COglCanvas() {
    if (m_uDisplayList && m_pGl && context()) {
        makeCurrent();
        m_pGl->glDeleteLists(m_uDisplayList, 1);
        doneCurrent();
    }
}

void COglCanvas::Invalidate(bool rebuild) {
    m_bRebuild = m_bRebuild || rebuild;
    update();
}

void COglCanvas::initializeGL() {
    m_pGl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context());
    if (m_pGl) m_pGl->initializeOpenGLFunctions();
    m_bRebuild = true;
}

void COglCanvas::paintGL() {
    if (!m_pGl || !m_View.GetDrawing()) {
        Log().Printf(LOG_INFO, "OpenGLDispListDxfDraw with null pointer(s) %d %d\n", m_pGl ? 1 : 0,
                     m_View.GetDrawing() ? 1 : 0);
        return;
    }
    QOpenGLFunctions_1_1& gl = *m_pGl;
    const qreal ratio = devicePixelRatioF();
    const int w = static_cast<int>(width() * ratio), h = static_cast<int>(height() * ratio);
    gl.glViewport(0, 0, w, h);
    gl.glPointSize(2.0f);
    const Rgb bg = m_View.GetDrawing()->m_BackgroundColour;
    gl.glClearColor(RgbRed(bg) / 255.0f, RgbGreen(bg) / 255.0f, RgbBlue(bg) / 255.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glEnable(GL_CULL_FACE);
    if (!m_bLoggedVersion) {
        m_bLoggedVersion = true;
        auto text = [&gl](GLenum name) {
            const GLubyte* s = gl.glGetString(name);
            return s ? reinterpret_cast<const char*>(s) : "";
        };
        Log().Printf(LOG_INFO, "OpenGL data: Version: %s, Vendor: %s, Renderer: %s\n", text(GL_VERSION),
                     text(GL_VENDOR), text(GL_RENDERER));
    }

    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    gl.glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gl.glShadeModel(GL_FLAT);
    gl.glEnable(GL_NORMALIZE);
    gl.glScaled(1.0, 1.0, -1.0);

    const GLfloat ambient[] = {0.15625f, 0.15625f, 0.15625f, 1.0f};
    const GLfloat diffuse[] = {1.5f, 1.5f, 1.5f, 1.0f};
    const GLfloat position[] = {-1.0f, 1.0f, 1.5f, 0.0f};
    gl.glEnable(GL_LIGHT0);
    gl.glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    gl.glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    gl.glLightfv(GL_LIGHT0, GL_POSITION, position);
    gl.glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    gl.glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 128.0f);

    const double aspect = h > 0 ? static_cast<double>(w) / h : 1.0;
    double projection[16], modelView[16];
    m_View.GetState().GetProjection(aspect, projection);
    m_View.GetState().GetModelView(modelView);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixd(projection);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadMatrixd(modelView);

    if (m_bRebuild || !m_uDisplayList) {
        if (m_uDisplayList) gl.glDeleteLists(m_uDisplayList, 1);
        m_uDisplayList = gl.glGenLists(1);
        BuildDisplayList(gl);
        m_bRebuild = false;
    }
    gl.glCallList(m_uDisplayList);
    gl.glFlush();
    ++m_iPaints;
}

COglLabels::COglLabels(COglView& view) : QWidget(&view), m_View(view) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void COglLabels::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (!m_bPainted) {
        // The hint stands where (-0.5, 0) of the unzoomed view is, on the very first paint only.
        m_bPainted = true;
        painter.setPen(QColor(0, 55, 0));
        painter.drawText(QPointF(width() * 0.25, height() * 0.5), kHint);
    }
    if (!m_View.GetShowText() || !m_View.GetDrawing()) return;
    const double aspect = height() > 0 ? static_cast<double>(width()) / height() : 1.0;
    for (const auto& entity : m_View.GetDrawing()->GetEntList()) {
        if (entity->GetType() != DXF_TEXT || !IsShown(*entity)) continue;
        const auto& text = static_cast<const CDxfText&>(*entity);
        const Point d = m_View.GetState().ToDevice(text.m_Insert, aspect);
        painter.setPen(ToQColor(EntityColour(text)));
        painter.drawText(QPointF((d.x + 1.0) / 2.0 * width(), (1.0 - d.y) / 2.0 * height()),
                         QString::fromStdString(text.m_csText));
    }
}

void COglCanvas::BuildDisplayList(QOpenGLFunctions_1_1& gl) {
    gl.glNewList(m_uDisplayList, GL_COMPILE);
    auto colour = [&gl](Rgb c, double divisor) {
        gl.glColor3d(RgbRed(c) / divisor, RgbGreen(c) / divisor, RgbBlue(c) / divisor);
    };
    auto vertex = [&gl](const Point& p) { gl.glVertex3d(p.x, p.y, p.z); };
    for (const auto& entity : m_View.GetDrawing()->GetEntList()) {
        const CDxfEntity& e = *entity;
        if (!IsShown(e)) continue;
        const Rgb c = EntityColour(e);
        gl.glDisable(GL_LIGHTING);
        switch (e.GetType()) {
        case DXF_LINE: {
            const auto& line = static_cast<const CDxfLine&>(e);
            colour(c, 255.0);
            gl.glBegin(GL_LINES);
            vertex(line.m_Start);
            vertex(line.m_End);
            gl.glEnd();
            break;
        }
        case DXF_PLINE: {
            const auto& pline = static_cast<const CDxfPline&>(e);
            if (pline.m_Vertices.empty()) break;
            colour(c, 255.0);
            gl.glBegin(pline.m_Vertices.size() == 1 ? GL_POINTS : GL_LINE_STRIP);
            for (const DxfVertex& v : pline.m_Vertices)
                vertex(v.point);
            if (pline.m_bClosed && pline.m_Vertices.size() > 1) vertex(pline.m_Vertices.front().point);
            gl.glEnd();
            break;
        }
        case DXF_CIRCLE: {
            const auto& circle = static_cast<const CDxfCircle&>(e);
            colour(c, 512.0);
            gl.glBegin(GL_LINE_STRIP);
            for (int i = 0; i <= 100; ++i) {
                const double a = 2.0 * kPi * i / 100.0;
                gl.glVertex3d(circle.m_Centre.x + circle.m_dRadius * std::cos(a),
                              circle.m_Centre.y + circle.m_dRadius * std::sin(a), circle.m_Centre.z);
            }
            gl.glEnd();
            break;
        }
        case DXF_POINT:
            colour(c, 512.0);
            gl.glBegin(GL_POINTS);
            vertex(static_cast<const CDxfPoint&>(e).m_Point);
            gl.glEnd();
            break;
        case DXF_INSERT:
            colour(c, 255.0);
            gl.glBegin(GL_POINTS);
            vertex(static_cast<const CDxfInsert&>(e).m_Insert);
            gl.glEnd();
            break;
        case DXF_MESH: {
            const auto& mesh = static_cast<const CDxfMesh&>(e);
            colour(c, 512.0);
            gl.glEnable(GL_COLOR_MATERIAL);
            if (m_View.GetMeshDisplayMode() == MESH_DISPLAY_FACES) gl.glEnable(GL_LIGHTING);
            for (const DxfMeshFace& face : mesh.m_Faces) {
                if (face.count < 3) continue;
                Point normal;
                if (m_View.GetMeshDisplayMode() == MESH_DISPLAY_FACES) {
                    if (mesh.GetFaceNormal(face, normal)) gl.glNormal3d(normal.x, normal.y, normal.z);
                    gl.glBegin(face.count == 3 ? GL_TRIANGLES : GL_QUADS);
                } else {
                    gl.glBegin(m_View.GetMeshDisplayMode() == MESH_DISPLAY_LINES ? GL_LINE_STRIP : GL_POINTS);
                }
                for (int k = 0; k < face.count; ++k)
                    if (face.index[k] >= 1 && face.index[k] <= mesh.GetPointCount())
                        vertex(mesh.m_Points[face.index[k] - 1]);
                if (m_View.GetMeshDisplayMode() == MESH_DISPLAY_LINES && face.index[0] >= 1 &&
                    face.index[0] <= mesh.GetPointCount())
                    vertex(mesh.m_Points[face.index[0] - 1]);
                gl.glEnd();
            }
            gl.glDisable(GL_LIGHTING);
            gl.glDisable(GL_COLOR_MATERIAL);
            break;
        }
        case DXF_PGONMESH: {
            const auto& grid = static_cast<const CDxfPgonMesh&>(e);
            if (grid.GetRequiredPointCount() > grid.GetPointCount()) break;
            colour(c, 512.0);
            const int m = grid.m_iM, n = grid.m_iN;
            gl.glBegin(GL_QUADS);
            for (int i = 0; i + 1 < m; ++i)
                for (int j = 0; j + 1 < n; ++j) {
                    vertex(grid.m_Points[i * n + j]);
                    vertex(grid.m_Points[(i + 1) * n + j]);
                    vertex(grid.m_Points[(i + 1) * n + j + 1]);
                    vertex(grid.m_Points[i * n + j + 1]);
                }
            gl.glEnd();
            break;
        }
        default: // texts are drawn over the picture; arcs, ellipses, solids and 3D faces are not drawn
            break;
        }
    }
    gl.glEndList();
}

#pragma once
// "3D Viewer": a room's 3D model in an OpenGL drawing area, with the standard views, the text
// switch and "Save Dxf...". The dialog owns the drawing it shows.

#include <QDialog>
#include <memory>
#include <string>

class CDxfFile;
class COglView;
class QCheckBox;
class QLineEdit;
class QPushButton;

class COglViewer : public QDialog {
    Q_OBJECT
  public:
    // roomName proposes the file name of "Save Dxf..." (the name and "_3D"); folder is where the
    // save dialog starts.
    COglViewer(std::unique_ptr<CDxfFile> drawing, const std::string& roomName, const std::string& folder,
               QWidget* parent = nullptr);
    ~COglViewer() override;

    // Whether an OpenGL context could be made when the dialog opened (else it was reported and the
    // area stays empty).
    bool HasContext() const { return m_bHasContext; }
    COglView* GetView() const { return m_pView; }
    QCheckBox* GetShowTextBox() const { return m_pShowText; }
    QPushButton* GetSideXButton() const { return m_pSideX; }
    QPushButton* GetSideYButton() const { return m_pSideY; }
    QPushButton* GetTopButton() const { return m_pTop; }
    QPushButton* GetGeneralButton() const { return m_pGeneral; }
    QPushButton* GetSaveButton() const { return m_pSave; }
    QPushButton* GetUpdateButton() const { return m_pUpdate; }
    QLineEdit* GetRotationField(int axis) const { return m_pRotation[axis]; }
    const CDxfFile& GetDrawing() const { return *m_pDrawing; }

    // Whether a context of the viewer's format can be made on this display.
    static bool CanMakeContext();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void OnSaveDxf();
    void OnUpdate();
    void LayOut();

    std::unique_ptr<CDxfFile> m_pDrawing;
    std::string m_csRoomName;
    std::string m_csFolder;
    bool m_bHasContext = false;
    bool m_bPlaced = false;
    QWidget* m_pButtons;
    COglView* m_pView;
    QCheckBox* m_pShowText;
    QPushButton* m_pSideX;
    QPushButton* m_pSideY;
    QPushButton* m_pTop;
    QPushButton* m_pGeneral;
    QPushButton* m_pSave;
    QPushButton* m_pUpdate;
    QLineEdit* m_pRotation[3];
};

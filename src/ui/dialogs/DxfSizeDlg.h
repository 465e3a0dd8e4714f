#pragma once
// "DXF Size": reads a DXF file, shows a picture of it and its size, and asks again before a
// drawing of a doubtful size (above 1000 m or below 0.5 m on a side) is taken.

#include "ui/dialogs/CheckedDialog.h"

#include <memory>

class CDxfFile;

class CDxfSizeDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    explicit CDxfSizeDlg(const std::string& dxfPath, QWidget* parent = nullptr);
    ~CDxfSizeDlg() override;
    // False when the file could not be read or holds no entities (reported): the dialog counts as
    // cancelled and is not shown.
    bool IsDrawingRead() const { return m_bRead; }
    double GetWidth() const { return m_dWidth; }
    double GetHeight() const { return m_dHeight; }
    QLabel* GetSizeLabel() const { return m_pSize; }

  protected:
    bool OnOK() override;

  private:
    void DrawPicture();

    std::unique_ptr<CDxfFile> m_pDxf;
    QLabel* m_pPicture;
    QLabel* m_pSize;
    bool m_bRead = false;
    double m_dWidth = 0.0, m_dHeight = 0.0;
};

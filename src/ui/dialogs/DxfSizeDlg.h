#pragma once
// "DXF Size": reads a DXF file, shows a picture of it and its size in metres for the drawing's units
// (from its header, or chosen: mm, cm, m, inch, foot), flags a plan over 500 m on a side, and asks
// again before a drawing of a doubtful size (above 1000 m or below 0.5 m on a side) is taken.

#include "ui/dialogs/CheckedDialog.h"

#include <memory>

class CDxfFile;
class QComboBox;

class CDxfSizeDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    explicit CDxfSizeDlg(const std::string& dxfPath, QWidget* parent = nullptr);
    ~CDxfSizeDlg() override;
    // False when the file could not be read or holds no entities (reported): the dialog counts as
    // cancelled and is not shown.
    bool IsDrawingRead() const { return m_bRead; }
    // The drawing's size in metres, for the chosen units.
    double GetWidth() const { return m_dWidth * m_dScale; }
    double GetHeight() const { return m_dHeight * m_dScale; }
    // Metres per drawing unit.
    double GetScale() const { return m_dScale; }
    QLabel* GetSizeLabel() const { return m_pSize; }
    // "m", "mm", "cm", "inch", "foot", in that order.
    QComboBox* GetUnitsList() const { return m_pUnits; }
    // A plan this large on a side is flagged.
    static constexpr double kLargePlan = 500.0;

  protected:
    bool OnOK() override;
    // OK has the keyboard, so Return takes the plan as it is proposed; the units are a Tab away.
    void showEvent(QShowEvent* event) override;

  private:
    void DrawPicture();
    void ShowSize();

    std::unique_ptr<CDxfFile> m_pDxf;
    QLabel* m_pPicture;
    QLabel* m_pSize;
    QComboBox* m_pUnits;
    bool m_bRead = false;
    double m_dWidth = 0.0, m_dHeight = 0.0; // drawing units
    double m_dScale = 1.0;
};

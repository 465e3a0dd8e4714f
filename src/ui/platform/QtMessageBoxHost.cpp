#include "ui/platform/QtMessageBoxHost.h"

#include <QMessageBox>

int CQtMessageBoxHost::Show(const std::string& text, const std::string& caption, MbButtons buttons,
                            MbIcon icon) {
    QMessageBox::Icon qIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MB_ICON_STOP:
        qIcon = QMessageBox::Critical;
        break;
    case MB_ICON_QUESTION:
        qIcon = QMessageBox::Question;
        break;
    case MB_ICON_EXCLAMATION:
        qIcon = QMessageBox::Warning;
        break;
    case MB_ICON_INFORMATION:
        qIcon = QMessageBox::Information;
        break;
    case MB_ICON_NONE:
        break;
    }
    QMessageBox::StandardButtons qButtons = QMessageBox::Ok;
    if (buttons == MB_BUTTONS_YESNO)
        qButtons = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == MB_BUTTONS_YESNOCANCEL)
        qButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;

    QMessageBox box(qIcon, QString::fromStdString(caption), QString::fromStdString(text), qButtons, nullptr);
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        // A box closed without a button gives the answer that changes nothing.
        return buttons == MB_BUTTONS_OK ? IDOK : (buttons == MB_BUTTONS_YESNO ? IDNO : IDCANCEL);
    }
}

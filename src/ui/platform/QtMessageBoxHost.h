#pragma once
// Message boxes of the desktop program: task-modal QMessageBox without owner window.

#include "base/MessageBoxes.h"

class CQtMessageBoxHost : public IMessageBoxHost {
  public:
    int Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override;
};

#pragma once

#include "Dialog.h"

// Base of the common dialogs: a Dialog without a template of its own, whose
// parent is the owner of the system dialog it runs.
class CommonDialog : public Dialog {
public:
    explicit CommonDialog(HWND owner);
    ~CommonDialog() override;
    void Release() override;
};

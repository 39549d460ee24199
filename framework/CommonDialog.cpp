#include "CommonDialog.h"

CommonDialog::CommonDialog(HWND owner) : Dialog(nullptr, nullptr)
{
    parent = owner;
}

CommonDialog::~CommonDialog()
{
    CommonDialog::Release();
}

// The system dialog ends by itself; there is nothing to give back.
void CommonDialog::Release() {}

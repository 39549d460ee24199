#pragma once

#include "Dialog.h"

#include <stddef.h>

class Application;

// The version dialog: the program's name, version and build time, and two
// buttons that open the project's web page and mail address.
class AboutDialog : public Dialog {
public:
    explicit AboutDialog(const Application& owner);
    ~AboutDialog() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnInitDialog();
    void Open(const char* target);

    const Application& app;
};

// Where the two buttons lead; fixed when the program is built.
extern const char ProjectWebPage[];
extern const char ProjectMailAddress[];
// When this program was built, as the compiler spells it: "Nov  8 2001", "02:38:48".
extern const char BuildDate[];
extern const char BuildTime[];

// "2.01  (Build: Nov  8 2001 02:38:48)"
void FormatVersionText(const char* version, char* text, size_t capacity);

#pragma once
// The dialogs and the controls the program addresses by id, with the kind
// and text each one is to have.
#include <vector>

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;  // nullptr: replaced at run time, not checked
};

struct ExpectedDialog {
    int id;
    short cx, cy;         // dialog units
    const char* caption;  // nullptr: replaced at run time
    std::vector<ExpectedControl> controls;
};

const std::vector<ExpectedDialog>& ExpectedDialogs();

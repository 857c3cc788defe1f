#pragma once
// A column of names, each with its own check box: a report-view list-view
// control from a dialog template (single selection, no column header),
// driven with plain list-view requests. The check marks are the user's
// selection; the dialog reads them back when OK is pressed.
//
// The control holds the check state as the row's state image, bits 12 to
// 15 of the row state: 1 unchecked, 2 checked. A row counts as checked
// exactly when that image is 2, so a row without a check box (image 0)
// counts as unchecked.
#include <windows.h>

#include <string>

class CheckBoxList {
public:
    void Attach(HWND listView) { window_ = listView; }
    HWND Window() const { return window_; }

    // Sets the whole extended style to check boxes and full-row selection
    // and inserts the single column: empty heading, left aligned.
    void Prepare(int columnWidth);

    // Appends an unchecked row after the rows added so far (the control
    // does not sort); its index, or -1 when the control refused it.
    int AddRow(const std::string& text);
    void CheckRow(int index);
    bool IsChecked(int index) const;
    // The row's text, read back with room for 79 characters.
    std::string RowText(int index) const;
    int RowCount() const;
    void RemoveAllRows();

    // The texts of the checked rows (of every row when everyRow is set),
    // first to last, each followed by a comma: the list form of the
    // configuration file.
    std::string JoinRows(bool everyRow) const;

private:
    HWND window_ = nullptr;
};

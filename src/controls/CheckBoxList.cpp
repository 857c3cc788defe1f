#include "controls/CheckBoxList.h"

#include "config/CommaList.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr DWORD kCheckBoxesAndFullRow = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;  // 0x24
constexpr UINT kCheckStateMask = 0xF000;
constexpr UINT kStateImageChecked = 2;
constexpr int kRowTextLength = 79;

}  // namespace

void CheckBoxList::Prepare(int columnWidth)
{
    // A mask of 0 replaces the whole extended style.
    SendMessageA(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kCheckBoxesAndFullRow);
    char heading[1] = "";
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = columnWidth;
    column.pszText = heading;
    SendMessageA(window_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

int CheckBoxList::AddRow(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    LVITEMA row = {};
    row.mask = LVIF_TEXT;
    row.iItem = RowCount();
    row.pszText = buffer.data();
    return static_cast<int>(SendMessageA(window_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
}

void CheckBoxList::CheckRow(int index)
{
    LVITEMA row = {};
    row.stateMask = kCheckStateMask;
    row.state = INDEXTOSTATEIMAGEMASK(kStateImageChecked);
    SendMessageA(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
}

bool CheckBoxList::IsChecked(int index) const
{
    const auto state = static_cast<UINT>(
        SendMessageA(window_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), kCheckStateMask));
    return (state >> 12) == kStateImageChecked;
}

std::string CheckBoxList::RowText(int index) const
{
    char buffer[kRowTextLength + 1] = "";
    LVITEMA row = {};
    row.iSubItem = 0;
    row.pszText = buffer;
    row.cchTextMax = sizeof buffer;
    SendMessageA(window_, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    buffer[kRowTextLength] = '\0';
    return buffer;
}

int CheckBoxList::RowCount() const
{
    return static_cast<int>(SendMessageA(window_, LVM_GETITEMCOUNT, 0, 0));
}

void CheckBoxList::RemoveAllRows()
{
    SendMessageA(window_, LVM_DELETEALLITEMS, 0, 0);
}

std::string CheckBoxList::JoinRows(bool everyRow) const
{
    std::vector<std::string> names;
    const int count = RowCount();
    for (int index = 0; index < count; ++index) {
        if (everyRow || IsChecked(index))
            names.push_back(RowText(index));
    }
    return JoinCommaList(names);
}

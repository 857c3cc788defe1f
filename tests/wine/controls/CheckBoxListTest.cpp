// The check-box list on a real list-view control: the extended style it
// sets, rows in the order they are added, check states as state images,
// row texts and the joined list.
#include "TestOwnerWindow.h"
#include "controls/CheckBoxList.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

constexpr DWORD kListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | WS_BORDER | WS_TABSTOP;
constexpr int kListId = 1037;

HWND MakeListView(TestOwnerWindow& owner)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    return owner.AddChild(WC_LISTVIEWA, kListStyle, kListId, "", 300, 200);
}

void SetStateImage(HWND list, int index, UINT image)
{
    LVITEMA row = {};
    row.stateMask = LVIS_STATEIMAGEMASK;
    row.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
}

}  // namespace

TEST(CheckBoxList, PrepareSetsExactlyCheckBoxesAndFullRowAndOneEmptyColumn)
{
    TestOwnerWindow owner;
    CheckBoxList list;
    list.Attach(MakeListView(owner));
    // Whatever was set before goes: the whole extended style is replaced.
    SendMessageA(list.Window(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP);
    list.Prepare(150);

    EXPECT_EQ(SendMessageA(list.Window(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x24);
    char heading[32] = "unchanged";
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = sizeof heading;
    ASSERT_TRUE(SendMessageA(list.Window(), LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(column.cx, 150);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    EXPECT_STREQ(heading, "");
    EXPECT_FALSE(SendMessageA(list.Window(), LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)));
}

TEST(CheckBoxList, RowsKeepTheirOrderAndTheirChecksAndJoinWithCommas)
{
    TestOwnerWindow owner;
    CheckBoxList list;
    list.Attach(MakeListView(owner));
    list.Prepare(150);

    EXPECT_EQ(list.AddRow("zeta"), 0);
    EXPECT_EQ(list.AddRow("alpha"), 1);
    EXPECT_EQ(list.AddRow("Mid dle"), 2);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.RowText(0), "zeta");
    EXPECT_EQ(list.RowText(1), "alpha");
    EXPECT_EQ(list.RowText(2), "Mid dle");
    for (int index = 0; index < 3; ++index)
        EXPECT_FALSE(list.IsChecked(index)) << index;
    EXPECT_EQ(list.JoinRows(false), "");
    EXPECT_EQ(list.JoinRows(true), "zeta,alpha,Mid dle,");

    list.CheckRow(0);
    list.CheckRow(2);
    EXPECT_EQ(SendMessageA(list.Window(), LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), 0x2000);
    EXPECT_TRUE(list.IsChecked(0));
    EXPECT_FALSE(list.IsChecked(1));
    EXPECT_TRUE(list.IsChecked(2));
    EXPECT_EQ(list.JoinRows(false), "zeta,Mid dle,");
    EXPECT_EQ(list.JoinRows(true), "zeta,alpha,Mid dle,");

    // The user unchecks a row (the control sets image 1).
    SetStateImage(list.Window(), 0, 1);
    EXPECT_FALSE(list.IsChecked(0));
    EXPECT_EQ(list.JoinRows(false), "Mid dle,");

    list.RemoveAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.AddRow("again"), 0);
}

TEST(CheckBoxList, OnlyStateImageTwoCountsAsCheckedAndTextsAreCutTo79Characters)
{
    TestOwnerWindow owner;
    CheckBoxList list;
    list.Attach(MakeListView(owner));
    // Not prepared yet: the rows have no check box, state image 0.
    const std::string longName(120, 'n');
    list.AddRow(longName);
    EXPECT_EQ(SendMessageA(list.Window(), LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), 0);
    EXPECT_FALSE(list.IsChecked(0));
    SetStateImage(list.Window(), 0, 3);
    EXPECT_FALSE(list.IsChecked(0));
    SetStateImage(list.Window(), 0, 2);
    EXPECT_TRUE(list.IsChecked(0));
    EXPECT_EQ(list.RowText(0), longName.substr(0, 79));
    EXPECT_EQ(list.JoinRows(false), longName.substr(0, 79) + ",");
}

#pragma once
// What the restore dialog hands the restore run: where the keepset is, which
// record describes it, and what to restore from it.
#include <string>
#include <vector>

enum class RestoreSource {
    KeepsetList,  // an entry [SaveN] of the keepset list in the configuration file
    OtherRoot     // a keepset directory chosen with "Select", described by its record file
};

enum class RestoreKind { Full, Custom };

// The item code of a row of the custom selection list; the full restore
// restores the same items.
enum RestoreItem {
    AlarmConfiguration = 1,  // \db1, "vm001.dbf"
    GroupAndPersonnel = 2,   // \db1, "qzpersonal.dbf", "qzgroups.dbf", "qzlink.dbf"
    QztDirectory = 3,        // \qzt
    WindowsIni = 4,          // \win into the Windows directory
    Desktop = 5,             // \desktop\all and \desktop\user
    VoiceMessages = 6,       // \dbv1
    WebPrograms = 7,         // \web\htdocs into the htdocs directory
    MySqlDatabases = 8,      // \mysql, loaded into the database server
    Additional1 = 9,         // the directories of SaveAdd1 ... SaveAdd4
    Additional2 = 10,
    Additional3 = 11,
    Additional4 = 12
};

struct CustomRow {
    int itemCode = 0;
    bool checked = false;
};

struct RestoreRequest {
    RestoreSource source = RestoreSource::KeepsetList;
    // For another root: the chosen directory. For a list entry the run
    // reads the root from the entry's Path itself.
    std::string keepsetRoot;
    // "qzkeepset.ini" for a list entry; the keepset's record file
    // ("<root>.\qzkeepset.inf") for another root. Empty: none chosen.
    std::string recordFile;
    // "Save1" ... "Save19" for a list entry (empty: no row selected);
    // "Save" for another root.
    std::string recordSection;
    RestoreKind kind = RestoreKind::Full;
    // The rows of the custom selection list, top to bottom.
    std::vector<CustomRow> customRows;
};

#pragma once
// Names and value formats shared by the two keepset records: the entry
// [SaveN] of the configuration file and the record file "qzkeepset.inf"
// with its one section [Save] in the save directory.
#include "save/LocalDateTime.h"

#include <string>

constexpr const char* kRecordFileName = "qzkeepset.inf";
constexpr const char* kRecordSection = "Save";

constexpr const char* kKeyPath = "Path";
constexpr const char* kKeyDate = "Date";
constexpr const char* kKeyTime = "Time";
constexpr const char* kKeySaveMsg = "SaveMsg";
constexpr const char* kKeySaveAlrMsgOnly = "SaveAlrMsgOnly";
constexpr const char* kKeySaveDesktop = "SaveDesktop";
constexpr const char* kKeySaveWeb = "SaveWeb";
constexpr const char* kKeySaveMySql = "SaveMySql";
// How the save that wrote the record ended: "running" from before its
// first copy until its end, then "complete" or "errors". Records without
// the key (earlier versions, records of another root) are of unknown state.
constexpr const char* kKeyState = "State";
constexpr const char* kStateRunning = "running";
constexpr const char* kStateComplete = "complete";
constexpr const char* kStateErrors = "errors";
// The State key of a record as read back, without regard to case.
enum class KeepsetState { Unknown, Running, Complete, Errors };
KeepsetState KeepsetStateOf(const std::string& value);

// "SaveAdd1" ... "SaveAdd4".
std::string SaveAddKey(int k);

// The record file of a keepset directory, joined with ".\" so that a
// directory with or without a trailing backslash gives a valid path.
std::string RecordFilePath(const std::string& keepsetDirectory);
// Any file of the keepset's own (record, manifest, size list) joined so.
std::string KeepsetFilePath(const std::string& keepsetDirectory, const std::string& name);

// "07.12.2026": day, month, four-digit year.
std::string RecordDate(const LocalDateTime& when);
// "09:05:00": hour 00 to 23, minute, second.
std::string RecordTime(const LocalDateTime& when);

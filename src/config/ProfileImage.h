#pragma once
// What the profile functions show of one ini file: its sections in file
// order, each with its lines as the section call gives them ("key=value",
// or a bare line). An update of the configuration file compares the image
// its copy should have with the image the copy has, so that a write the
// system cut short (a full disk) is found before the copy replaces the file.
#include <string>
#include <utility>
#include <vector>

class ProfileImage {
public:
    // A section as read. A name already present keeps its first lines, as
    // the profile functions read only the first section of a name.
    void AddSection(const std::string& name, const std::vector<std::string>& lines);

    // What writing the key does: the first line of the section with that
    // key (compared without regard to case) gets the value; a new key is
    // appended to its section, a new section to the image.
    void Set(const std::string& section, const std::string& key, const std::string& value);

    // The same sections holding the same keys in the same order with the
    // same values; section and key names are compared without regard to
    // case, and blanks around names and values and quotes around a whole
    // value do not count (the profile functions drop them when they read).
    bool SameAs(const ProfileImage& other) const;

private:
    using Line = std::pair<std::string, std::string>;  // key, value
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    Section* Find(const std::string& name);
    const Section* Find(const std::string& name) const;

    std::vector<Section> sections_;
};

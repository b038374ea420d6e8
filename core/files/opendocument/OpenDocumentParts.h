#pragma once

#include "core/files/office/XmlDocument.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velquor::files {

// What a content or styles part of an OpenDocument file records about its authors and its links.
struct DocumentPartFindings {
    std::size_t insertions = 0;
    std::size_t deletions = 0;
    std::size_t formatChanges = 0;
    std::size_t cellChanges = 0;   // a spreadsheet's changed cell contents and moved ranges
    bool changeRecording = false;  // a tracked-changes region that records further changes
    std::vector<std::string> changeAuthors;
    std::size_t comments = 0;
    std::vector<std::string> commentAuthors;
    std::vector<std::string> commentDates;
    std::vector<std::string> otherAuthors;  // creators named anywhere else in the part
    // What fields that show a person's name display in the text (author, initial creator,
    // creator, printed by): visible content, which the copy keeps as it is.
    std::vector<std::string> nameFields;
    std::vector<std::string> externalLinks;  // linked sections, images, objects and sheets outside the package
    std::size_t macroBindings = 0;           // events that run a macro
};

DocumentPartFindings documentPartFindings(const XmlDocument& part);

// Accepts every tracked change (the document already shows inserted text; deleted text lives
// only in the change region, which goes with every change mark), removes comments with their
// range ends, the links to content outside the package (a linked section or sheet keeps what it
// showed last; a linked picture or object goes, with its frame when nothing else is left in
// it) and the events that would run a macro.
void cleanDocumentPart(XmlDocument& part);

// Whether a link target points outside the package: a URL with a scheme, an absolute path, or a
// path that climbs out of the package with "..".
bool isExternalLinkTarget(std::string_view target);

// What settings.xml records about the user's machine: the printer, its set-up, the data sources
// and every value that is an absolute path or a URL.
struct SettingsFindings {
    std::vector<std::string> printers;
    bool printerSetup = false;
    std::vector<std::string> dataSources;
    std::vector<std::string> paths;  // "Name: value"
};

SettingsFindings settingsFindings(const XmlDocument& settings);

// Removes the settings that settingsFindings reports.
void removePersonalSettings(XmlDocument& settings);

// Whether a settings value is an absolute path (Unix, Windows drive or network share), a home
// folder path or a URL.
bool isPathOrUrl(std::string_view value);

}  // namespace velquor::files

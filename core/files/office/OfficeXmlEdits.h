#pragma once

#include "core/files/office/XmlDocument.h"

#include <set>
#include <string>

namespace velquor::files {

// Accepts every tracked change in a Word part: insertions and moved-to text become ordinary
// text, deletions and moved-away text go, and so does every other mark that records who changed
// what (formatting-change records, cell and move ranges, custom-XML revision ranges, comment
// anchors, revision-session ids, document variables and the track-changes switch).
void sanitizeWordPart(XmlDocument& part);

// Removes external relationships and those that point at private parts (by name, or because
// the part they resolve to was removed). `partFolder` is the folder of the part the file
// describes ("word/" for word/_rels/document.xml.rels, "" for _rels/.rels). Returns the ids of the
// removed relationships.
std::set<std::string> sanitizeRelationships(XmlDocument& relationships, const std::string& partFolder,
                                            const std::set<std::string>& removedParts);

// Removes the content-type overrides of removed and private parts. `removedParts` holds paths
// with a leading "/", as written on disk.
void removeContentTypeOverrides(XmlDocument& contentTypes, const std::set<std::string>& removedParts);

// Removes the markup that refers to removed relationships, so that no reader finds a dangling
// reference: a Word hyperlink keeps its text and loses only its link; any other referring
// element (a PowerPoint or Excel hyperlink, an attached template, an external workbook or a
// linked picture) goes, together with a hyperlink or external-reference list it leaves empty.
void removeReferencesToRelationships(XmlDocument& part, const std::set<std::string>& removedIds);

// Formulas and defined names that read another workbook, once the copy no longer links to it:
// the formulas go and their cached values stay, as when a user breaks the links. A shared
// formula goes with the cells that share it.
void removeExternalWorkbookFormulas(XmlDocument& part);

// Whether an element of a Word part still carries an "author" attribute in any namespace.
bool containsAuthorAttribute(const XmlDocument& part);

// Whether a package path (relative, any case) is a part that only carries personal data. Links
// to other workbooks count: they name where the user keeps them.
bool isPrivateArchivePart(std::string_view relativePath);

}  // namespace velquor::files

#pragma once

#include "content/ContentCheck.h"
#include "content/ContentSet.h"

#include <QList>
#include <QString>

namespace tov::content {

// The machine-wide folder of the agency's content set, kept by tov2sf-content: the set in force
// (agency/) and the one it replaced (agency.previous/). A set is installed whole or not at all:
// it is copied and checked in a folder of its own, then swapped into place in one step, so a
// program starting at that moment sees either the old set or the new one, never half of each.
class ContentStore {
public:
    explicit ContentStore(ContentPlaces places) : places_(std::move(places)) {}

    struct Installed {
        QList<CheckLine> check; // what the check of the copy found
        bool done = false;      // the set is in force
    };
    // Copies the content files of `candidate`, checks the copy with the program's own loaders
    // and, when every check passed, puts it in force with its manifest; the agency set it
    // replaces is kept as the backup. Throws AppError when a folder cannot be written.
    Installed install(const QString& candidate, const QString& name, const QString& version,
                      const QString& publisher) const;
    // Takes the agency set out of force (kept as the backup): the shipped set is in force again.
    // False when no agency set is installed. Throws AppError.
    bool remove() const;

private:
    ContentPlaces places_;
};

// Where a run started from `ownFolder` (the folder of its executable) takes its content: an
// installed program folder (marked so by the package) looks for the agency's set where its
// settings say and falls back to the shipped one; any other program folder uses its own files.
ContentPlaces PlacesFor(const QString& ownFolder, const QString& programFolder);

// The content files of `from` copied into the new folder `to`, readable by every user. Throws
// AppError.
void CopyContentFiles(const QString& from, const QString& to);

} // namespace tov::content

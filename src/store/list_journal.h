#pragma once
// A change to the lists that touches several files (the Clipboard Clips moving
// down a slot for a new capture) goes through a journal, so that a crash at
// any point leaves every title with its own clip. New content is staged first
// as "pellion.journal.N" in the data folder: the only step that needs disk
// space, so a full disk stops the change before anything moved. Then
// "pellion.journal" records where each file goes, and only renames and
// deletes follow. The next start finishes a change whose journal it finds.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace pellion {

inline constexpr const char* kListJournalName = "pellion.journal";

class ListChange {
public:
    explicit ListChange(std::string dataFolder);
    ~ListChange();  // what a change that never got its journal staged goes
    ListChange(const ListChange&) = delete;
    ListChange& operator=(const ListChange&) = delete;

    // The file now at `from` takes the name `to`, replacing what is there;
    // with no file at `from`, `to` is deleted.
    void move(const std::string& from, const std::string& to);
    // As move, for a temporary file that start-up would clear away: it is
    // put under a staged name before the journal is written.
    void adopt(const std::string& temp, const std::string& to);
    // New content for path, staged at once; false when it cannot be written.
    bool write(const std::string& path, const files::Bytes& bytes);
    // Writes the journal and carries the change out. False when the change
    // did not happen: nothing changed. Once the journal is written the change
    // stands; a rename that fails leaves the rest to the next start.
    bool commit();

    // One rename or delete, paths relative to the data folder; an empty
    // `from` deletes `to`. id is the file that must end up at `to`.
    struct Step {
        std::string from, to;
        std::optional<files::FileId> id;
    };

private:
    bool relative(const std::string& path, std::string& out);
    std::string nextStaged();
    void dropStaged();

    std::string folder_;
    std::vector<Step> steps_;
    std::vector<std::pair<std::string, std::string>> adopted_;  // temp, staged name
    std::vector<std::string> staged_;
    int nextStage_ = 0;
    bool failed_ = false;
    bool journalWritten_ = false;
};

// Finishes the change that a crash left in the data folder's journal, then
// clears staged files of a change that never got its journal. Runs at
// start-up before the lists are read (and before temporary files are
// cleared). False when a change could not be finished: its journal stays.
bool ReplayListJournal(const std::string& dataFolder);

// Test seam: called before each change on disk that a list operation makes,
// so a test can stop the process between any two of them.
void SetListStepHook(std::function<void()> hook);
void ListStep();

}  // namespace pellion

// SPDX-License-Identifier: MIT
// The directory being browsed: its listing (the files with the shown file's
// extension, in name order), the shown file's place in it, and the steps
// through it with wrap-around. CurrentDir is the one record of the current
// directory: the process's working directory is never changed, and listings
// are made of the absolute directory.
//
// PlotState carries CurrentDir, ListingIndex and ListingCount for the
// painters and the title bar; only the navigator writes them.
#pragma once

#include "PlotState.h"
#include "Searchfiles.h"

#include <memory>
#include <string>

class DirectoryNavigator {
public:
    explicit DirectoryNavigator(PlotState& state);

    // Where the navigator stands: CurrentDir, its listing and the position in
    // it. Enter gives the place it left, so an opening that is given up can
    // go back to it.
    class Place {
        friend class DirectoryNavigator;
        std::string m_dir;
        int m_index = 0;
        int m_count = 0;
        std::unique_ptr<TSearchFiles> m_files;
    };

    // Before any file is opened: the directory the program was started in.
    void StartIn(const std::string& dir);

    // A file was opened: its extension becomes the listing's filter, its
    // directory CurrentDir; the directory is listed and the file's position
    // found (letter case counts; a file not found leaves the position). The
    // position is settled here, before the caller reads the directory's
    // settings, so a refused settings file never leaves a position that this
    // listing does not have. Returns the place left.
    Place Enter(const std::string& file);

    // Goes back to a place Enter left, with the listing it had then (not read
    // again). A place that Enter did not give changes nothing.
    void Return(Place place);

    // Lists CurrentDir again for `file` (the newest shown file), as ReDraw
    // does; CurrentDir stays. Returns the place left.
    Place Relist(const std::string& file);

    // Moves the position one step with wrap-around and returns the path of
    // the file there. A position outside the listing (an empty listing)
    // raises the list error, the position already moved.
    std::string StepNext();
    std::string StepPrevious();
    // Moves to the first or the last file of the listing; an empty listing
    // raises the list error as a step does.
    std::string StepFirst();
    std::string StepLast();

    // One wheel notch toward the user (forward) or away: the notches counted
    // in both directions share one count, and a step is due whenever it comes
    // back to 0. Returns +1 (Next), -1 (Previous) or 0.
    int WheelNotch(bool forward);

    // The path a step of `step` positions (wrapping around) would lead to,
    // without moving; empty for an empty listing.
    std::string PathAfterSteps(int step) const;

    // The listed name at the shown position; empty when there is none.
    std::string ShownName() const;

    const TSearchFiles& Listing() const { return *m_files; }

private:
    // Moves the listing and the position out, leaving an empty listing.
    Place Leave();
    void List(const std::string& file);
    std::string PathAtPosition() const;

    PlotState& m_state;
    std::unique_ptr<TSearchFiles> m_files;
};

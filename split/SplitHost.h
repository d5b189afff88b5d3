// SplitHost: what the engine needs of the window that runs a split.
#pragma once

#include "split/SplitRecords.h"

#include <cstdint>
#include <string>

// Every outcome of a run, success or failure, reaches the user through showMessage.
class SplitHost {
public:
    virtual ~SplitHost() = default;

    // Shows text in a modal box captioned "The Parcelor" with one OK button;
    // returns when the user has dismissed it.
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // Missing when path names no existing entry, else the kind of that entry.
    virtual PathKind lookUpPath(const std::string& path) = 0;
    // Shows the progress label and bar with the range 0 ... count at position 0.
    virtual void startProgress(int count) = 0;
    // Advances the bar by one and shows it before returning.
    virtual void stepProgress() = 0;
    // Hides the progress label, then the bar.
    virtual void hideProgress() = 0;
    // Called after each chunk written to a piece, with the bytes of the piece
    // written so far and its full size, so that a window can paint and answer
    // its sent messages, or move its bar within a long piece, while the copy
    // runs. Always on the thread that called runSplit. It must not start
    // another split. Does nothing unless overridden.
    virtual void keepAlive(std::int64_t /*pieceBytesDone*/, std::int64_t /*pieceBytes*/) { }
};

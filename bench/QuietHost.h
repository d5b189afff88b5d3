// The benchmarks' host: lookups answered from the disk, nothing shown.
#pragma once

#include "split/SplitEngine.h"

#include <filesystem>
#include <string>

class QuietHost : public SplitHost {
public:
    std::string lastMessage;
    void showMessage(const std::string& text, MessageIcon) override { lastMessage = text; }
    PathKind lookUpPath(const std::string& path) override
    {
        std::error_code error;
        if (!std::filesystem::exists(path, error))
            return PathKind::Missing;
        return std::filesystem::is_directory(path, error) ? PathKind::Directory : PathKind::File;
    }
    void startProgress(int) override { }
    void stepProgress() override { }
    void hideProgress() override { }
};

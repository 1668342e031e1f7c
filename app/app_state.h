#pragma once

// Everything the desktop program keeps for the whole run, in one place. The core (image/,
// compose/, output/) never sees this: the shell reads its windows and these values and
// hands the core explicit inputs.

#include <windows.h>

#include <array>
#include <memory>
#include <set>
#include <string>

#include "compose/skin.h"
#include "image/dib.h"
#include "output/skin_writer.h"
#include "project/project.h"

struct AppState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    // Workspace windows by control id - 1: Main Skin, Equalizer, Playlist, Skin Workspace.
    std::array<HWND, 4> workspaces = {};
    HWND templatePanel = nullptr;
    HWND imageSetPanel = nullptr;
    HWND skinSetPanel = nullptr;
    HWND templateBox = nullptr;
    HWND makeSkinButton = nullptr;
    HWND modeBox = nullptr; // the Image Set panel's Free/Tile/Continuous box

    // The picture as loaded and the adjusted copy skins are cut from (project.Work()), and
    // what the workspace windows show: nothing, the work picture, or the made main preview.
    Project project;
    const Dib* shownPicture = nullptr;
    // The made skin; a skin is made exactly when it holds a main preview.
    std::unique_ptr<SkinSet> skin;

    // The options the user set by hand (the names korvane-make gives them): a suggested
    // design keeps them. The scale counts once applied; the colours once picked.
    std::set<std::string> given;

    int scale = 100;
    int brightness = 0;
    int contrast = 0;
    AdjustmentMode adjustmentMode = AdjustmentMode::Tile;
    std::array<int, 3> skinOrder = {0, 1, 2};
    ProjectOptions options;
    ShadeColors colors; // MainBackColor black, MainTextColor white
    TitleSettings title;
    PlaylistStyle playlist;

    std::string programDir;   // the working directory at start-up
    std::string templatePath; // empty: built-in pieces; else a folder ending in '\'
    std::string winampDir = "c:\\program files\\winamp";
    std::string lastPicDir;
    std::string picturePath; // the picture file now open; Save never writes over it
    std::string skinFolderPath;
    int lastTemplateIndex = 0;
    int templateCount = 0;

    bool SkinMade() const { return skin && skin->mainPreview; }
    const Dib* WorkPicture() const { return project.Work(); }
    int32_t PictureWidth() const { return WorkPicture() ? WorkPicture()->Width() : 0; }
    int32_t PictureHeight() const { return WorkPicture() ? WorkPicture()->Height() : 0; }
};

extern AppState gApp;

// Paths are built as the ANSI file functions take them.
std::string JoinPath(const std::string& folder, const std::string& name);

#pragma once

// Every text the user reads in a message box, in one place, so the desktop program and the
// command line show the same words.

constexpr const char kWarningCaption[] = "Warning..!";

constexpr const char kMsgLoadFailed[] =
    "Something wrong when loading image...\nPlease try another image.";
constexpr const char kMsgAskConvert[] =
    "Incompatible image...\nYou need a TrueColor (24-bit) image.\nYou should convert it to "
    "TrueColor to get the best result.\nDo you want to open this image anyway?";
constexpr const char kMsgTooSmall[] =
    "Image too small...\nYou need an image with 275x116 or more pixels.";
constexpr const char kMsgTooLarge[] =
    "Image too large...\nMaximum image size is 1600x1200 pixels.\nPlease crop or resize this "
    "image first.";
constexpr const char kMsgTooManyPixels[] =
    "Image too large...\nKorvane opens pictures of up to 100 megapixels.";
// Both %d pairs: the photo's size as opened, then as reduced. Shown as information.
constexpr const char kMsgPhotoReduced[] = "The picture was %d x %d; Korvane reduced it to %d x %d.";
constexpr const char kInformationCaption[] = "Korvane";
constexpr const char kMsgScaleRaised[] =
    "Image too small...\nProgram will adjust image to minimum skin size.";
constexpr const char kMsgNoContinuous[] =
    "Can not use Continuous Mode!\nImage height less than 348 pixels.\nPlease try to load "
    "another image.";

// The Save dialog and the Save command.
constexpr const char kMsgNoWinampExe[] =
    "Could not find WINAMP.EXE !\nYou can search for Winamp's directory using browse button.";
constexpr const char kMsgWrongSkinName[] = "Wrong skin name...";
constexpr const char kMsgSkinExists[] = "Skin name already exist...\nDo you want to overwrite it?";
// %s: the full path of the skin folder that could not be created.
constexpr const char kMsgCreateDirFailed[] =
    "Error Creating Directory %s !\nPlease set your skins directory in Winamp program.";
// %s: the full path of the skin folder.
constexpr const char kMsgSkinPathTooLong[] =
    "Skin folder path too long...\n%s\nPlease choose a shorter skin name or skins directory.";
// %s: the file of the skin that is the open picture or a template file.
constexpr const char kMsgSkinOverInput[] =
    "Skin file would replace the picture or template it is made from...\n%s\nPlease choose "
    "another skin name.";
// First %s: the skin folder; second %s: the files not written, one per line.
constexpr const char kMsgSaveIncomplete[] = "These skin files could not be written in\n%s :\n\n%s";
constexpr const char kBrowseWinampTitle[] = "Select your Winamp's directory...";

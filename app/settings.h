#pragma once

// korvane.ini: the few preferences kept between runs, in section "Korvane" of the settings
// file in the folder the program was started from.

// Fixes gApp.programDir (the working directory now), gApp.templatePath (its "templates"
// folder, created when missing) and reads the settings file into gApp. A missing file or
// key reads as its default.
void LoadSettings();

// Writes the ten keys to the settings file of gApp.programDir, in their fixed order.
void SaveSettings();

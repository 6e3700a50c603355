#pragma once
// The program's settings file: the recent-file list and the number of pages
// print preview shows side by side. An INI file in the user's configuration
// folder, organization "Local AppWizard-Generated Applications", application
// "Vorlisk".

#include <QString>
#include <string>
#include <vector>

struct ProfileValues {
    std::vector<std::string> recentFiles; // File1..File4, most recent first; empty entries dropped
    int previewPages = 0;                 // 0 when absent
};

class ProfileSettings {
public:
    static QString FilePath();
    static ProfileValues Load();
    // Rewrites the "Recent File List" section with the non-empty entries and
    // "PreviewPages" in "Settings" when it is not 0.
    static void Save(const std::vector<std::string>& recentFiles, int previewPages);
    // Deletes the settings file, and its folder when nothing else is in it.
    static void Remove();
};

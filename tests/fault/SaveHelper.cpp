// Saves a log through the document's real save path, for tests that make
// the file system fail under it or kill it in the middle of a save.
//
//   vorlisk_save_helper save   TARGET SOURCE   File Save of TARGET holding SOURCE's bytes
//   vorlisk_save_helper saveas TARGET SOURCE   Save As to TARGET
//   vorlisk_save_helper loop   TARGET FIRSTGEN saves generation after generation
//                                               until killed
// "save" and "saveas" print every message shown as "MESSAGE: <text>" and a
// request for a file name as "ASKED-FOR-NAME". After a failed save they
// print "FAILED", wait for a line on standard input (the test looks at the
// folder meanwhile), unset VORLISK_FAULT_CALL (so a preloaded fault stops)
// and save again, printing "RETRY: ok" or "RETRY: failed". Exit code: 0 when the first save
// succeeded, 3 when it failed, 2 on wrong use.
#include "Generation.h"

#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "log/CVorliskDoc.h"
#include "log/MemoryTextHolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

class NoNameDialogs : public FileDialogs {
public:
    std::optional<QString> AskOpenPath(QWidget*) override { return std::nullopt; }
    std::optional<QString> AskSavePath(QWidget*, const QString&) override
    {
        std::cout << "ASKED-FOR-NAME" << std::endl;
        return std::nullopt;
    }
};

std::string ReadAll(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string mode = argv[1];
    const std::string target = argv[2];

    SetMessageHandler([](const QString& text, MessageButtons) {
        std::cout << "MESSAGE: " << text.toStdString() << std::endl;
        return MessageAnswer::Ok;
    });
    NoNameDialogs dialogs;
    MemoryTextHolder holder;
    CVorliskDoc doc;
    doc.SetView(&holder);
    doc.SetFileDialogs(&dialogs);

    if (mode == "loop") {
        doc.SetPathName(target, false);
        std::uint64_t gen = std::strtoull(argv[3], nullptr, 10);
        std::cout << "ready" << std::endl;
        for (;; ++gen) {
            holder.ReplaceAll(fault::GenerationBytes(gen));
            doc.SetModifiedFlag(true);
            if (!doc.DoFileSave())
                return 4;
        }
    }

    if (mode != "save" && mode != "saveas")
        return 2;
    holder.ReplaceAll(ReadAll(argv[3]));
    doc.SetModifiedFlag(true);
    const auto save = [&] {
        if (mode == "save") {
            doc.SetPathName(target, false);
            return doc.DoFileSave();
        }
        return doc.DoSave(&target, false);
    };
    if (save())
        return 0;
    std::cout << "FAILED" << std::endl;
    std::string go;
    std::getline(std::cin, go);
    ::unsetenv("VORLISK_FAULT_CALL");
    const bool retried = doc.IsModified() && save();
    std::cout << "RETRY: " << (retried ? "ok" : "failed") << std::endl;
    return 3;
}

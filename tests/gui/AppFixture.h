#pragma once
// A whole program in a temporary folder: the application object with file
// dialogs and message boxes answered by the test.

#include "app/CVorliskApp.h"
#include "framework/CDocument.h"
#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "framework/ProfileSettings.h"
#include "log/CVorliskDoc.h"
#include "view/CVorliskView.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

class FakeFileDialogs : public FileDialogs {
public:
    std::optional<QString> AskOpenPath(QWidget*) override
    {
        ++openCalls;
        return Next(openAnswers);
    }
    std::optional<QString> AskSavePath(QWidget*, const QString& proposedName) override
    {
        saveProposals.push_back(proposedName);
        return Next(saveAnswers);
    }

    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::vector<QString> saveProposals;
    int openCalls = 0;

private:
    static std::optional<QString> Next(std::deque<std::optional<QString>>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ProfileSettings::Remove();
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        previousHandler = SetMessageHandler([this](const QString& text, MessageButtons) {
            messages.push_back(text.toStdString());
            if (answers.empty())
                return MessageAnswer::Ok;
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }

    void TearDown() override
    {
        SetMessageHandler(previousHandler);
        QDir::setCurrent(previousFolder);
    }

    // Starts the program with these arguments; false when start-up ended it.
    bool Start(const std::vector<std::string>& args = {})
    {
        app.SetFileDialogs(&dialogs);
        return app.InitInstance(args);
    }

    std::string Path(const std::string& name) const { return folder.path().toStdString() + "/" + name; }

    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string Text() const { return std::string(app.View()->Text()); }
    CVorliskDoc& Doc() const { return *app.Document(); }

    QTemporaryDir folder;
    QString previousFolder;
    MessageHandler previousHandler;
    std::vector<std::string> messages;
    std::deque<MessageAnswer> answers;
    FakeFileDialogs dialogs;
    CVorliskApp app;
};

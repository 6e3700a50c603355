// Tests that need a QApplication (GUI and fault tests) run offscreen unless
// told otherwise; one QApplication for all.
// Settings go to a private folder so that no test touches the user's own.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char folder[] = "/tmp/vorlisk-tests-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    setenv("XDG_CONFIG_HOME", folder, 1);
    setenv("XDG_RUNTIME_DIR", folder, 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::system((std::string("rm -rf '") + folder + "'").c_str());
    return result;
}

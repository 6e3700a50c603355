// A thousand generated logs opened and saved through the whole program:
// every saved file is the original byte for byte, or the original followed
// by the end-of-log line where it had none.
#include "AppFixture.h"
#include "TestFiles.h"

#include "log/LogLimits.h"

#include <cmath>
#include <iostream>
#include <random>

using namespace fault;

namespace {

struct Generated {
    std::string bytes;
    bool hasMarker = false;
};

// Awkward bytes of the given size, with the marker at a random place (line
// start, mid-line, the very end without a line end) when asked.
Generated Generate(std::uint64_t seed, std::size_t size, bool withMarker, std::mt19937_64& random)
{
    Generated g;
    g.bytes = AwkwardBytes(seed, size);
    if (withMarker && size >= kEndOfLogMarker.size()) {
        const std::size_t at = random() % (size - kEndOfLogMarker.size() + 1);
        g.bytes.replace(at, kEndOfLogMarker.size(), kEndOfLogMarker);
        g.hasMarker = true;
    }
    return g;
}

} // namespace

class RoundTripTest : public AppFixture {};

TEST_F(RoundTripTest, AThousandAwkwardLogsComeBackByteForByte)
{
    constexpr int kFiles = 1000;
    const std::size_t kLargestWithoutMarker = kMaxLogBytes - kEndOfLogLine.size();
    ASSERT_TRUE(Start());
    std::mt19937_64 random(7);
    // The edges first, then sizes spread evenly on a log scale up to the limit.
    const std::vector<std::pair<std::size_t, bool>> edges = {
        {0, false}, {1, false}, {2, false}, {11, true}, {12, true}, {13, false},
        {kLargestWithoutMarker, false}, {kLargestWithoutMarker - 1, false},
        {kMaxLogBytes, true}, {kMaxLogBytes - 1, true},
    };
    std::uniform_real_distribution<double> logSize(0.0, std::log(static_cast<double>(kMaxLogBytes)));

    long long bytesRoundTripped = 0;
    for (int i = 0; i < kFiles; ++i) {
        std::size_t size;
        bool withMarker;
        if (static_cast<std::size_t>(i) < edges.size()) {
            std::tie(size, withMarker) = edges[static_cast<std::size_t>(i)];
        } else {
            withMarker = i % 2 == 0;
            size = static_cast<std::size_t>(std::exp(logSize(random)));
            if (!withMarker)
                size = std::min(size, kLargestWithoutMarker);
        }
        const Generated g = Generate(static_cast<std::uint64_t>(i), size, withMarker, random);
        const std::string expected = g.hasMarker ? g.bytes : g.bytes + std::string(kEndOfLogLine);
        SCOPED_TRACE("file " + std::to_string(i) + ", " + std::to_string(size) + " bytes" +
                     (g.hasMarker ? ", with the marker" : ", without the marker"));

        const std::string path = Path("log-" + std::to_string(i) + ".log");
        WriteBytes(path, g.bytes);
        dialogs.openAnswers.push_back(QString::fromStdString(path));
        app.OnFileOpen();
        ASSERT_EQ(Doc().GetPathName(), path);
        ASSERT_EQ(Difference(Text(), g.bytes), "") << "opening changed the bytes";

        // Save in place on even files, Save As to a new name on odd ones.
        std::string saved = path;
        if (i % 2 == 0) {
            app.OnFileSave();
        } else {
            saved = Path("copy-" + std::to_string(i) + ".log");
            dialogs.saveAnswers.push_back(QString::fromStdString(saved));
            app.OnFileSaveAs();
            EXPECT_EQ(Difference(ReadBytes(path), g.bytes), "") << "Save As touched the original";
        }
        ASSERT_EQ(messages, std::vector<std::string>{});
        ASSERT_EQ(Difference(ReadBytes(saved), expected), "");
        EXPECT_FALSE(Doc().IsModified());
        bytesRoundTripped += static_cast<long long>(expected.size());
        std::remove(path.c_str());
        std::remove(saved.c_str());
    }
    std::cout << "[ figures  ] files round-tripped: " << kFiles << " (" << bytesRoundTripped
              << " bytes saved)" << std::endl;
}

TEST_F(RoundTripTest, ALogThatWouldOutgrowTheLimitByItsMarkerIsRefusedAndKept)
{
    // Too full to take the end-of-log line: saving would make a file that
    // cannot be opened again, so the save is refused and the file kept.
    ASSERT_TRUE(Start());
    std::mt19937_64 random(8);
    std::vector<std::string> files;
    for (const std::size_t size : {kMaxLogBytes - kEndOfLogLine.size() + 1, kMaxLogBytes}) {
        const std::string bytes = Generate(size, size, false, random).bytes;
        const std::string path = Path("full-" + std::to_string(size) + ".log");
        WriteBytes(path, bytes);
        files.push_back("full-" + std::to_string(size) + ".log");
        messages.clear();
        dialogs.openAnswers.push_back(QString::fromStdString(path));
        app.OnFileOpen();
        ASSERT_EQ(Difference(Text(), bytes), "");
        app.OnFileSave();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("too large to save"), std::string::npos) << messages[0];
        EXPECT_EQ(Difference(ReadBytes(path), bytes), "");
        EXPECT_EQ(ListFolder(folder.path().toStdString()), files) << "a temporary file was left behind";
    }
}

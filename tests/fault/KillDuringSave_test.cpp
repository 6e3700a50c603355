// The program killed outright (SIGKILL) at random moments while it saves a
// log again and again through the document's real save path: whenever it
// dies, the log on disk is one whole generation, never a mix or a cut, and
// never older than what was already there.
#include "Child.h"
#include "Generation.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <random>
#include <unistd.h>

using namespace fault;

TEST(KillDuringSave, TheLogIsAlwaysOneWholeGenerationAndTheNextSaveWorks)
{
    constexpr int kKills = 400;
    TempFolder folder;
    const std::string target = folder / "contest.log";
    WriteBytes(target, GenerationBytes(0));

    std::mt19937 random(20240410);
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);
    std::int64_t lastGen = 0;
    int killsMidSave = 0;    // kills that left a temporary file behind
    for (int kill = 0; kill < kKills; ++kill) {
        Child child({VORLISK_SAVE_HELPER, "loop", target, std::to_string(lastGen + 1)});
        ASSERT_TRUE(child.ReadUntilLine("ready")) << child.Output();
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(child.Pid(), SIGKILL);
        const int status = child.Finish();
        ASSERT_EQ(DescribeStatus(status), "signal 9") << "the saving stopped by itself:\n" << child.Output();

        const std::string bytes = ReadBytes(target);
        const std::int64_t gen = GenerationOf(bytes);
        ASSERT_GE(gen, lastGen) << "after kill " << kill << " the log is no generation, or an older one";
        ASSERT_EQ(Difference(bytes, GenerationBytes(static_cast<std::uint64_t>(gen))), "")
            << "after kill " << kill << " generation " << gen << " is not whole";
        lastGen = gen;

        // A killed save cannot clean up after itself: its hidden temporary
        // file stays. Count and clear those.
        bool leftTemporary = false;
        for (const std::string& name : ListFolder(folder.Path())) {
            if (name == "contest.log")
                continue;
            EXPECT_EQ(name.rfind(".contest.log.", 0), 0u) << "unexpected file " << name;
            std::remove((folder / name).c_str());
            leftTemporary = true;
        }
        killsMidSave += leftTemporary ? 1 : 0;
    }
    std::cout << "[ figures  ] kills survived: " << kKills << ", of them mid-save (temporary left): "
              << killsMidSave << ", generations saved: " << lastGen << std::endl;
    EXPECT_GT(lastGen, 0) << "no save ever completed";
    EXPECT_GT(killsMidSave, 0) << "no kill landed inside a save";

    // With the killing over, a save completes as usual.
    const std::string source = folder / "source.bin";
    WriteBytes(source, "QSO\r\n");
    Child last({VORLISK_SAVE_HELPER, "save", target, source});
    EXPECT_EQ(DescribeStatus(last.Finish()), "exit 0") << last.Output();
    EXPECT_EQ(ReadBytes(target), "QSO\r\nEND-OF-LOG:\r\n");
}

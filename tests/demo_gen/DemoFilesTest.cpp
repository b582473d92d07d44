#include <gtest/gtest.h>

#include "DemoData.h"
#include "evaluator/NumFormat.h"
#include "platform/core/AtomicFile.h"

namespace vyn {
namespace {

// The committed demo files are what the generator writes today; a change of the format or
// of the demo shows here until resources/demo is generated again with vyn_demo_gen.
TEST(DemoFiles, TheCommittedFilesEqualAFreshGeneration)
{
    const std::string folder = std::string(VYN_SOURCE_DIR) + "/resources/demo/";
    std::string library, plate;
    ASSERT_TRUE(ReadWholeFile(folder + kDemoLibraryName, library));
    ASSERT_TRUE(ReadWholeFile(folder + kDemoPlateName, plate));
    const char saved = gDecimalChar;
    gDecimalChar = '.';
    EXPECT_EQ(library, DemoLibraryText());
    EXPECT_EQ(plate, DemoPlateText());
    gDecimalChar = saved;
    EXPECT_EQ(std::count(library.begin(), library.end(), '\n') > 0, true);
    EXPECT_EQ(library.find("MNAM 'Demo "), 0u);
}

}  // namespace
}  // namespace vyn

// Slide shows from fuzzing the splitter. A slide with no content is written as an empty
// element ("<CurvanaDocument />"), which a first-line test would not take for a document; the
// slide window loads the slide files directly, so such slides must still load as documents.

#include "app/slideshowfile.h"
#include "common/decimalseparator.h"
#include "docfile/documentloader.h"
#include "tests/app/slidetestfiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace curvana {
namespace {

TEST(SplitSlideShowFuzzRegression, EmptyAndTextOnlySlidesLoadAsDocuments) {
    TDecimalSeparatorScope dot('.');
    testing::TTempDir dir;
    testing::WriteFile(dir / "show.sld",
                       "<CurvanaSlides>\n<CurvanaDocument ></CurvanaDocument>\n"
                       "<CurvanaDocument>text</CurvanaDocument>\n"
                       "<CurvanaDocument><!-- only a comment --></CurvanaDocument>\n"
                       "</CurvanaSlides>\n");
    const TSlideShowSplit split = SplitSlideShowToTempFolder(dir / "show.sld", dir.Path);
    ASSERT_EQ(split.Slides.size(), 3u);
    for (const std::string& slide : split.Slides) {
        SCOPED_TRACE(testing::ReadFile(slide));
        TCoordinate view;
        auto graphs = std::make_unique<TMemory>();
        std::vector<TAddLabelData> labels;
        EXPECT_EQ(LoadDocumentFile(slide, {view, graphs, labels}), TLoadOutcome::Loaded);
        EXPECT_EQ(graphs->Count(), 0);
    }
}

} // namespace
} // namespace curvana

// The recording fake must itself catch the object faults other tests rely on
// it to catch.
#include "view/recording_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace wandrix::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

TEST(RecordingCanvas, RecordsCallsAndRestoresSelections) {
  RecordingCanvas canvas;
  const ObjectHandle pen = canvas.create_pen(make_colour(0, 255, 0));
  const ObjectHandle old_pen = canvas.select(pen);
  const ObjectHandle hollow = canvas.stock_object(StockObject::hollow_brush);
  const ObjectHandle old_brush = canvas.select(hollow);
  canvas.ellipse(1, 2, 5, 6);
  canvas.move_to(3, 4);
  canvas.line_to(4, 5);
  canvas.select(old_brush);
  canvas.select(old_pen);
  canvas.delete_object(pen);
  canvas.set_invert(true);
  EXPECT_THAT(canvas.calls(),
              ElementsAre("create_pen 00ff00 -> 1", "select 1 -> black_pen",
                          "stock hollow_brush -> hollow_brush",
                          "select hollow_brush -> white_brush", "ellipse 1 2 5 6", "move_to 3 4",
                          "line_to 4 5", "select white_brush -> hollow_brush",
                          "select black_pen -> 1", "delete 1", "set_invert 1"));
  EXPECT_THAT(canvas.errors(), IsEmpty());
  EXPECT_TRUE(canvas.selections_restored());
  EXPECT_EQ(canvas.live_objects(), 0);
  EXPECT_EQ(canvas.count("select"), 4);
  EXPECT_TRUE(canvas.invert());
  EXPECT_EQ(canvas.position(), (Point{4, 5}));
}

TEST(RecordingCanvas, CatchesObjectFaults) {
  RecordingCanvas canvas;
  const ObjectHandle brush = canvas.create_brush(make_colour(255, 0, 0));
  EXPECT_EQ(canvas.calls().back(), "create_brush ff0000 -> 1");
  canvas.select(brush);
  canvas.delete_object(brush);  // still selected
  EXPECT_THAT(canvas.errors(), SizeIs(1));
  canvas.select(brush);  // deleted
  EXPECT_THAT(canvas.errors(), SizeIs(2));
  const ObjectHandle pen = canvas.create_pen(kBlack);
  canvas.fill_rect(Rect{0, 0, 400, 400}, pen);  // a pen is no brush
  EXPECT_EQ(canvas.calls().back(), "fill_rect 0 0 400 400 brush 2");
  EXPECT_THAT(canvas.errors(), SizeIs(3));
  EXPECT_FALSE(canvas.selections_restored());
  EXPECT_EQ(canvas.live_objects(), 1);                                // the pen was never deleted
  canvas.delete_object(canvas.stock_object(StockObject::black_pen));  // does nothing
  EXPECT_THAT(canvas.errors(), SizeIs(3));
}

}  // namespace
}  // namespace wandrix::testing

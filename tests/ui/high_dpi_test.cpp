// The game on a screen with more device pixels than window pixels: run once for
// each ratio (QT_SCALE_FACTOR 1, 1.5 and 2, set by ctest before the application
// starts). The window's tiled background and the tile inside the computer's
// picture are one continuous pattern, and the pictures are drawn at the screen's
// resolution rather than enlarged.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <cmath>

#include "about_box.h"
#include "look.h"
#include "main_window_fixture.h"

namespace renkomi::test {
namespace {

int Device(double windowPixels, qreal ratio) { return static_cast<int>(std::lround(windowPixels * ratio)); }

class HighDpiTest : public MainWindowFixture {
 protected:
  // The ratio the run was started for; the screen must give exactly that.
  static qreal Ratio() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    return factor.isEmpty() ? 1.0 : factor.toDouble();
  }
};

// Where the character is pure blue, well inside its background (away from any
// edge that scaling may soften), at the picture's device pixels.
QImage BackgroundMask(qreal ratio, QSize device) {
  const QImage source(ratio > 1 ? QStringLiteral(":/renkomi/character@2x.bmp")
                                : QStringLiteral(":/renkomi/character.bmp"));
  const QImage scaled = source.convertToFormat(QImage::Format_RGB32)
                            .scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  QImage mask(device, QImage::Format_Grayscale8);
  mask.fill(0);
  constexpr int kMargin = 3;
  for (int y = kMargin; y < device.height() - kMargin; ++y) {
    for (int x = kMargin; x < device.width() - kMargin; ++x) {
      bool blue = true;
      for (int dy = -kMargin; dy <= kMargin && blue; ++dy) {
        for (int dx = -kMargin; dx <= kMargin && blue; ++dx) {
          blue = (scaled.pixel(x + dx, y + dy) & 0xFFFFFF) == 0x0000FF;
        }
      }
      if (blue) mask.setPixel(x, y, 255);
    }
  }
  return mask;
}

// Also while the window waits for the organizer, disabled: a greyed picture would
// stand out of the background as a rectangle.
class BackgroundTest : public HighDpiTest, public testing::WithParamInterface<bool> {};

TEST_P(BackgroundTest, ContinuesThroughThePicture) {
  Open();
  const qreal ratio = form->devicePixelRatioF();
  ASSERT_DOUBLE_EQ(ratio, Ratio()) << "the screen does not have the ratio the run was started for";
  form->setEnabled(!GetParam());
  const QImage shot = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
  form->setEnabled(true);
  ASSERT_EQ(shot.size(), QSize(Device(616, ratio), Device(403, ratio)));

  // The pattern as the window's top-left corner shows it (bare background),
  // one tile of 8 window pixels.
  const int period = Device(8, ratio);
  const auto tile = [&](int x, int y) { return shot.pixel(x % period, y % period) & 0xFFFFFF; };
  QSet<QRgb> colours;
  for (int y = 0; y < period; ++y) {
    for (int x = 0; x < period; ++x) colours.insert(tile(x, y));
  }
  ASSERT_EQ(colours, (QSet<QRgb>{0x0000FF, 0x00FFFF, 0x000000})) << "the corner is not the tile";

  // Bare background beside and below the player's panel.
  int outsideMismatches = 0;
  for (int y = Device(329, ratio) + 1; y < Device(344, ratio) - 1; ++y) {
    for (int x = 0; x < Device(336, ratio); ++x) {
      if ((shot.pixel(x, y) & 0xFFFFFF) != tile(x, y)) ++outsideMismatches;
    }
  }
  EXPECT_EQ(outsideMismatches, 0) << "the window's background is not one pattern";

  // Inside the picture, wherever the character leaves its blue: above the
  // "今のダメージは" panel and the gauge, below the bubble.
  const QRect picture(Device(336, ratio), Device(152, ratio), Device(273, ratio), Device(241, ratio));
  const QImage mask = BackgroundMask(ratio, picture.size());
  int compared = 0;
  int insideMismatches = 0;
  for (int y = Device(154, ratio); y < Device(368, ratio); ++y) {
    for (int x = picture.left(); x < picture.left() + picture.width(); ++x) {
      if (qGray(mask.pixel(x - picture.left(), y - picture.top())) == 0) continue;
      ++compared;
      if ((shot.pixel(x, y) & 0xFFFFFF) != tile(x, y)) ++insideMismatches;
    }
  }
  EXPECT_GT(compared, picture.width() * picture.height() / 5) << "too little of the tile seen in the picture";
  EXPECT_EQ(insideMismatches, 0) << "of " << compared
                                 << " device pixels of the picture's background, these differ from the window's";
}

INSTANTIATE_TEST_SUITE_P(Window, BackgroundTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "WaitingForTheOrganizer" : "Enabled");
                         });

TEST_F(HighDpiTest, CheckMarkIsDrawnAtTheScreensResolution) {
  Open();
  const qreal ratio = form->devicePixelRatioF();
  auto* choose = Find<QPushButton>("bbtnJisyoOK");
  const QPixmap shown = choose->icon().pixmap(choose->iconSize(), ratio);
  const QSize device(Device(18, ratio), Device(18, ratio));
  ASSERT_EQ(shown.size(), device) << "the glyph is enlarged from fewer pixels";
  // The drawing itself at that resolution, not a smaller one scaled.
  QPixmap direct(device);
  direct.setDevicePixelRatio(ratio);
  direct.fill(Qt::transparent);
  QPainter painter(&direct);
  renkomi::ui::PaintCheckMark(painter, QRectF(0, 0, 18, 18), renkomi::ui::kCheckMarkGreen);
  painter.end();
  EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_ARGB32),
            direct.toImage().convertToFormat(QImage::Format_ARGB32));
}

TEST_F(HighDpiTest, AboutIconHasTheScreensPixels) {
  renkomi::app::TRenkomiAboutBox about;
  const qreal ratio = about.devicePixelRatioF();
  const QPixmap icon = FindElement<QLabel>(about, "ProgramIcon")->pixmap();
  EXPECT_EQ(icon.size(), QSize(Device(32, ratio), Device(32, ratio))) << "the icon is enlarged from 32 pixels";
  EXPECT_DOUBLE_EQ(icon.devicePixelRatio(), ratio);
}

}  // namespace
}  // namespace renkomi::test

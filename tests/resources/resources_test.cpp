// Checks the game's artwork as the program sees it (through the resource system
// of the linked object library), and the sound and help files that are installed
// beside the program, against the sizes, colours and formats the window needs.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>

namespace {

const QRgb kTransparentBlue = qRgb(0, 0, 255);

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QString SourceFile(const char* relative) {
  return QStringLiteral(RENKOMI_RESOURCES_SOURCE_DIR "/") + QString::fromLatin1(relative);
}

template <typename T>
T LittleEndianAt(const QByteArray& data, int offset) {
  return qFromLittleEndian<T>(data.constData() + offset);
}

// ---------------------------------------------------------------- file formats

struct BitmapCase {
  const char* name;
  const char* path;
  int width;
  int height;
  int bits_per_pixel;
};

void PrintTo(const BitmapCase& c, std::ostream* os) { *os << c.path; }

class BitmapFormat : public testing::TestWithParam<BitmapCase> {};

// The window draws these with the platform's bitmap routines, which expect
// plain uncompressed palette bitmaps of exactly these depths.
TEST_P(BitmapFormat, IsAnUncompressedPaletteBitmapOfItsSize) {
  const BitmapCase& c = GetParam();
  const QByteArray data = ReadAll(QString::fromLatin1(c.path));
  ASSERT_GE(data.size(), 54) << c.path << " is missing from the resources";
  EXPECT_EQ(data.left(2), QByteArray("BM"));
  EXPECT_EQ(LittleEndianAt<std::uint32_t>(data, 2), static_cast<std::uint32_t>(data.size()));
  EXPECT_EQ(LittleEndianAt<std::uint32_t>(data, 14), 40u);  // BITMAPINFOHEADER
  EXPECT_EQ(LittleEndianAt<std::int32_t>(data, 18), c.width);
  EXPECT_EQ(LittleEndianAt<std::int32_t>(data, 22), c.height);
  EXPECT_EQ(LittleEndianAt<std::uint16_t>(data, 28), c.bits_per_pixel);
  EXPECT_EQ(LittleEndianAt<std::uint32_t>(data, 30), 0u);  // BI_RGB: no compression
  const std::uint32_t colours = LittleEndianAt<std::uint32_t>(data, 46);
  EXPECT_TRUE(colours == 0 || colours == (1u << c.bits_per_pixel)) << colours;

  const QImage image(QString::fromLatin1(c.path));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(c.width, c.height));
  EXPECT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(image.colorCount(), 1 << c.bits_per_pixel);
}

INSTANTIATE_TEST_SUITE_P(
    Artwork, BitmapFormat,
    testing::Values(BitmapCase{"Character", ":/renkomi/character.bmp", 273, 242, 8},
                    BitmapCase{"Tile", ":/renkomi/tile.bmp", 8, 8, 4},
                    BitmapCase{"ProgramIcon", ":/renkomi/program_icon.bmp", 32, 32, 8}),
    [](const testing::TestParamInfo<BitmapCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------- character

bool IsTransparent(const QImage& image, int x, int y) { return image.pixel(x, y) == kTransparentBlue; }

// A colour that reads as the background blue without being it: what an edge
// anti-aliased against the blue would leave, a fringe over the tile.
bool LooksLikeTheBackground(QRgb c) {
  return qBlue(c) >= 150 && qRed(c) <= 110 && qGreen(c) <= 110;
}

TEST(Character, HasATransparentBackgroundAndAPictureOnIt) {
  const QImage image(":/renkomi/character.bmp");
  ASSERT_FALSE(image.isNull());
  int transparent = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) transparent += IsTransparent(image, x, y) ? 1 : 0;
  const double share = double(transparent) / (image.width() * image.height());
  EXPECT_GT(share, 0.25) << "too little of the tiled background would show";
  EXPECT_LT(share, 0.75) << "too little is drawn";
}

TEST(Character, NoDrawnPixelIsABlueThatBlendsIntoTheBackground) {
  const QImage image(":/renkomi/character.bmp");
  ASSERT_FALSE(image.isNull());
  int fringe = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (c != kTransparentBlue && LooksLikeTheBackground(c)) {
        ADD_FAILURE() << "bluish pixel " << QColor(c).name().toStdString() << " at " << x << "," << y;
        if (++fringe > 5) return;
      }
    }
  }
}

// Where a drawn pixel meets the background its colour shows against the tile,
// so it must be a real outline colour: dark or clearly coloured, not half blue.
TEST(Character, EdgesAgainstTheBackgroundAreSolidColours) {
  const QImage image(":/renkomi/character.bmp");
  ASSERT_FALSE(image.isNull());
  int edges = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (IsTransparent(image, x, y)) continue;
      const bool on_edge = (x > 0 && IsTransparent(image, x - 1, y)) ||
                           (x + 1 < image.width() && IsTransparent(image, x + 1, y)) ||
                           (y > 0 && IsTransparent(image, x, y - 1)) ||
                           (y + 1 < image.height() && IsTransparent(image, x, y + 1));
      if (!on_edge) continue;
      ++edges;
      const QRgb c = image.pixel(x, y);
      EXPECT_FALSE(qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 60)
          << "edge pixel " << QColor(c).name().toStdString() << " at " << x << "," << y;
    }
  }
  EXPECT_GT(edges, 500);
}

// The window lays the damage gauge and its caption over the lowest 25 rows of
// the picture box, so anything drawn there would never be seen.
TEST(Character, LeavesTheRowsUnderTheGaugeEmpty) {
  const QImage image(":/renkomi/character.bmp");
  ASSERT_FALSE(image.isNull());
  const int first_hidden_row = 241 - 25;
  for (int y = first_hidden_row; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ASSERT_TRUE(IsTransparent(image, x, y)) << "drawn pixel at " << x << "," << y;
}

// --------------------------------------------------------------- tile and icons

TEST(Tile, IsABlueGroundWithCyanAndBlackOnly) {
  const QImage image(":/renkomi/tile.bmp");
  ASSERT_FALSE(image.isNull());
  QSet<QRgb> used;
  int blue = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      used.insert(image.pixel(x, y));
      blue += image.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
    }
  }
  EXPECT_EQ(used, (QSet<QRgb>{qRgb(0, 0, 255), qRgb(0, 255, 255), qRgb(0, 0, 0)}));
  EXPECT_GT(blue, 32) << "more than half of the tile";
}

TEST(WindowIcon, Is32By32InAtMost16ColoursWithATransparentSurround) {
  const QImage image(":/renkomi/icon.png");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(32, 32));
  EXPECT_LE(image.colorCount(), 16);
  QSet<QRgb> used;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) used.insert(image.pixel(x, y));
  EXPECT_LE(used.size(), 16);
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the corners should let the title bar show";
  EXPECT_EQ(qAlpha(image.pixel(16, 16)), 255);
}

TEST(ProgramIcon, IsBlueAndRedStrokesOnSilver) {
  const QImage image(":/renkomi/program_icon.bmp");
  ASSERT_FALSE(image.isNull());
  for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
    EXPECT_EQ(image.pixel(corner), qRgb(0xC0, 0xC0, 0xC0)) << corner.x() << "," << corner.y();
  int blue = 0;
  int red = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const QRgb c = image.pixel(x, y);
      blue += (qBlue(c) > 150 && qRed(c) < 100) ? 1 : 0;
      red += (qRed(c) > 150 && qBlue(c) < 100) ? 1 : 0;
    }
  }
  EXPECT_GT(blue, 40);
  EXPECT_GT(red, 40);
}

// ---------------------------------------------------------------------- sounds

struct SoundCase {
  const char* name;
  const char* file;
  double shortest_seconds;
  double longest_seconds;
};

void PrintTo(const SoundCase& c, std::ostream* os) { *os << c.file; }

class Sound : public testing::TestWithParam<SoundCase> {};

// The sound player reads plain 16-bit PCM wave files; a short file that starts
// and ends near silence plays without a click.
TEST_P(Sound, IsAShort16BitPcmWaveThatStartsAndEndsQuietly) {
  const SoundCase& c = GetParam();
  const QByteArray data = ReadAll(SourceFile(c.file));
  ASSERT_GE(data.size(), 44) << c.file;
  EXPECT_EQ(data.mid(0, 4), QByteArray("RIFF"));
  EXPECT_EQ(data.mid(8, 8), QByteArray("WAVEfmt "));
  EXPECT_EQ(LittleEndianAt<std::uint16_t>(data, 20), 1);  // PCM
  const int channels = LittleEndianAt<std::uint16_t>(data, 22);
  const int rate = static_cast<int>(LittleEndianAt<std::uint32_t>(data, 24));
  EXPECT_EQ(LittleEndianAt<std::uint16_t>(data, 34), 16);
  EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
  EXPECT_TRUE(channels == 1 || channels == 2) << channels;

  // Walk the chunks to the sample data.
  int offset = 12;
  int data_offset = -1;
  std::uint32_t data_size = 0;
  while (offset + 8 <= data.size()) {
    const std::uint32_t size = LittleEndianAt<std::uint32_t>(data, offset + 4);
    if (data.mid(offset, 4) == "data") {
      data_offset = offset + 8;
      data_size = size;
      break;
    }
    offset += 8 + static_cast<int>(size + (size & 1));
  }
  ASSERT_GE(data_offset, 0) << "no data chunk";
  ASSERT_LE(data_offset + static_cast<qsizetype>(data_size), data.size());
  const int samples = static_cast<int>(data_size / 2);
  const double seconds = double(samples) / channels / rate;
  EXPECT_GE(seconds, c.shortest_seconds);
  EXPECT_LE(seconds, c.longest_seconds);

  int peak = 0;
  for (int i = 0; i < samples; ++i)
    peak = std::max(peak, std::abs(int(LittleEndianAt<std::int16_t>(data, data_offset + 2 * i))));
  EXPECT_GT(peak, 16000) << "too quiet to hear";
  const int edge = 16;  // the first and last few samples
  for (int i = 0; i < edge * channels; ++i) {
    EXPECT_LT(std::abs(int(LittleEndianAt<std::int16_t>(data, data_offset + 2 * i))), 2000);
    EXPECT_LT(std::abs(int(LittleEndianAt<std::int16_t>(data, data_offset + 2 * (samples - 1 - i)))), 2000);
  }
}

INSTANTIATE_TEST_SUITE_P(Media, Sound,
                         testing::Values(SoundCase{"Tada", "media/Tada.wav", 0.9, 1.6},
                                         SoundCase{"Chimes", "media/Chimes.wav", 0.7, 1.4}),
                         [](const testing::TestParamInfo<SoundCase>& info) {
                           return std::string(info.param.name);
                         });

// ------------------------------------------------------------------------ help

QString HelpText() {
  const QByteArray bytes = ReadAll(SourceFile("help/renkomiwin32.hlp"));
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError()) return {};
  return text;
}

TEST(Help, IsUtf8HtmlThatNeedsNothingFromOutside) {
  const QString html = HelpText();
  ASSERT_FALSE(html.isEmpty()) << "missing, or not UTF-8";
  EXPECT_TRUE(html.contains("<html", Qt::CaseInsensitive));
  EXPECT_FALSE(html.contains("<script", Qt::CaseInsensitive));
  EXPECT_FALSE(html.contains(QRegularExpression(R"(<img\b)", QRegularExpression::CaseInsensitiveOption)));
  EXPECT_FALSE(html.contains(QRegularExpression(R"(href\s*=\s*"(?!#))", QRegularExpression::CaseInsensitiveOption)))
      << "a link leaves the help file";
}

// Every entry of the table of contents must land somewhere, as Qt's own
// parser reads the file.
TEST(Help, EveryContentsLinkHasItsAnchor) {
  const QString html = HelpText();
  ASSERT_FALSE(html.isEmpty());
  QTextDocument document;
  document.setHtml(html);
  QSet<QString> names;
  QStringList targets;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      for (const QString& name : format.anchorNames()) names.insert(name);
      if (format.anchorHref().startsWith('#')) targets << format.anchorHref().mid(1);
    }
  }
  EXPECT_GE(targets.size(), 8);
  for (const QString& target : targets)
    EXPECT_TRUE(names.contains(target)) << "no anchor for #" << target.toStdString();
}

TEST(Help, NamesWhereTheSharedDictionarysWordsComeFrom) {
  const QString text = [] {
    QTextDocument document;
    document.setHtml(HelpText());
    return document.toPlainText();
  }();
  for (const char* needed : {"edict", "JMdict", "EDRDG", "Electronic Dictionary Research and Development Group",
                             "CC BY-SA 3.0", "Creative Commons Attribution-ShareAlike 3.0"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(needed))) << needed;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests at build time needs no display.
  if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  QGuiApplication app(argc, argv);  // for the text document's fonts
  return RUN_ALL_TESTS();
}

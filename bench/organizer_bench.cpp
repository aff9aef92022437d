// The organizer's speed on large dictionaries: the whole opening and closing of
// the window on 110,000 words or the real dictionary that
// RENKOMI_BENCH_DICTIONARY names (time and memory), the game's memory with that
// dictionary chosen, the reading-order fill alone, and the plain scan beside the
// quick fill on the same 10,000 words.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <string>

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include "bench_dictionary.h"
#include "dic_opt.h"
#include "game_windows.h"
#include "dictionary_store.h"
#include "pair_save.h"
#include "recording_sound.h"
#include "renkomi_wait.h"
#include "scan_fill.h"
#include "sorted_fill.h"
#include "sound.h"

namespace {

using renkomi::WordListPair;
using renkomi::organizer::FillSorted;
using renkomi::organizer::FillSortedByScan;
using renkomi::organizer::ReadingCollator;

// One application for the whole run, headless unless told otherwise, with the
// locale of the game's players.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "renkomi_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

// A dictionary like a large real one: kanji jukugo of two to four characters,
// hiragana readings of two to seven, one reading in ten shared with another word.
WordListPair MakeDictionary(std::size_t size) {
  std::mt19937 random(20240611);
  const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  WordListPair comp;
  for (std::size_t i = 0; i < size; ++i) {
    std::string jukugo;
    for (int k = between(2, 4); k > 0; --k) {
      jukugo += static_cast<char>(between(0x89, 0x97));
      const int trail = between(0x40, 0xFB);
      jukugo += static_cast<char>(trail == 0x7F ? 0x80 : trail);
    }
    std::string yomi;
    if (i > 0 && between(0, 9) == 0) {
      yomi = comp.yomi().Entries()[static_cast<std::size_t>(between(0, static_cast<int>(i) - 1))];
    } else {
      for (int k = between(2, 7); k > 0; --k) {
        yomi += '\x82';
        yomi += static_cast<char>(between(0x9F, 0xF1));
      }
    }
    comp.Append(std::move(jukugo), std::move(yomi));
  }
  return comp;
}

long StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line))
    if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
  return 0;
}

// Starts a new peak for VmHWM.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The real dictionary when one is named, else `size` synthetic words.
WordListPair BenchWords(std::size_t size) {
  WordListPair real = renkomi::bench::RealWords();
  return real.Count() > 0 ? real : MakeDictionary(size);
}

void BM_OrganizerOpen(benchmark::State& state) {
  EnsureApplication();
  QTemporaryDir folder;
  renkomi::DictionaryStore store(folder.path().toStdString());
  store.ChooseDictionary("renkomi");
  store.LoadDictionary();
  store.GiveBackWords(BenchWords(static_cast<std::size_t>(state.range(0))));
  const auto words = static_cast<double>(store.Comp().Count());
  store.SaveDictionary();
  store.LoadDictionary();

  QWidget mainWindow;
  renkomi::test::SilentSound sound;
  TfrmRenkomiWait wait;
  TfrmDicOpt organizer(store, mainWindow, sound);
  organizer.SetWaitDialog(&wait);

  double growth = 0, peak = 0, total = 0, closeMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ResetPeakMemory();
    const long before = StatusKilobytes("VmRSS");
    state.ResumeTiming();

    organizer.show();

    state.PauseTiming();
    growth = std::max(growth, (StatusKilobytes("VmRSS") - before) / 1024.0);
    peak = std::max(peak, (StatusKilobytes("VmHWM") - before) / 1024.0);
    total = std::max(total, StatusKilobytes("VmRSS") / 1024.0);
    if (store.Comp().Count() != 0) state.SkipWithError("COMP not emptied");
    const auto closing = std::chrono::steady_clock::now();
    organizer.close();  // writes the words back in reading order and reloads them
    closeMs = std::max(closeMs, Milliseconds(std::chrono::steady_clock::now() - closing));
    state.ResumeTiming();
  }
  state.counters["words"] = words;
  state.counters["close_ms"] = closeMs;
  state.counters["rss_growth_MB"] = growth;
  state.counters["peak_growth_MB"] = peak;
  state.counters["rss_MB"] = total;
}
BENCHMARK(BM_OrganizerOpen)->Arg(110000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole game as it starts, with the dictionary chosen: its windows, the
// dictionary in memory, and the resident memory of the process then.
void BM_GameMemory(benchmark::State& state) {
  EnsureApplication();
  QTemporaryDir folder;
  const std::filesystem::path programFolder = folder.path().toStdString();
  {
    WordListPair words = BenchWords(static_cast<std::size_t>(state.range(0)));
    renkomi::SavePair(programFolder / "bench.jdc", words.jukugo().Entries(), programFolder / "bench.ydc",
                      words.yomi().Entries());
  }
  renkomi::test::SilentSound sound;
  renkomi::Random random;
  renkomi::app::AppShell shell;
  double rss = 0;
  for (auto _ : state) {
    renkomi::app::GameWindows windows(programFolder, random, sound, shell);
    windows.Form1().Store().ChooseDictionary("bench");
    windows.Form1().Store().LoadDictionary();
    QCoreApplication::processEvents();
    rss = std::max(rss, StatusKilobytes("VmRSS") / 1024.0);
  }
  state.counters["rss_MB"] = rss;
}
BENCHMARK(BM_GameMemory)->Arg(110000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OrganizerFastFill(benchmark::State& state) {
  EnsureApplication();
  const WordListPair dictionary = MakeDictionary(static_cast<std::size_t>(state.range(0)));
  const QCollator collator = ReadingCollator();
  for (auto _ : state) {
    state.PauseTiming();
    WordListPair comp = dictionary;
    state.ResumeTiming();
    benchmark::DoNotOptimize(FillSorted(comp, collator, {}));
  }
  state.counters["words"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_OrganizerFastFill)->Arg(110000)->Unit(benchmark::kMillisecond);

// The plain scan and the quick fill timed on the same words in one run.
void BM_OrganizerScanVersusFastFill(benchmark::State& state) {
  EnsureApplication();
  const WordListPair dictionary = MakeDictionary(static_cast<std::size_t>(state.range(0)));
  const QCollator collator = ReadingCollator();
  double scanMs = 0, fastMs = 0;
  for (auto _ : state) {
    WordListPair scanComp = dictionary, fastComp = dictionary;
    const auto t0 = std::chrono::steady_clock::now();
    const auto scanned = FillSortedByScan(scanComp, collator, {});
    const auto t1 = std::chrono::steady_clock::now();
    const auto fast = FillSorted(fastComp, collator, {});
    const auto t2 = std::chrono::steady_clock::now();
    scanMs += Milliseconds(t1 - t0);
    fastMs += Milliseconds(t2 - t1);
    if (scanned.rows != fast.rows) state.SkipWithError("the two fills disagree");
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["words"] = static_cast<double>(state.range(0));
  state.counters["scan_ms"] = scanMs / runs;
  state.counters["fast_ms"] = fastMs / runs;
  state.counters["ratio"] = fastMs > 0 ? scanMs / fastMs : 0;
}
BENCHMARK(BM_OrganizerScanVersusFastFill)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

// Timings of the engine on a dictionary of 110,000 pairs (or the real dictionary
// that RENKOMI_BENCH_DICTIONARY names): loading, saving, one computer turn (a scan
// of the whole dictionary) and a find that misses.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_dictionary.h"
#include "dictionary_files.h"
#include "pair_save.h"
#include "dictionary_store.h"
#include "game_window.h"
#include "match.h"
#include "random.h"
#include "text_rules.h"

namespace {

namespace fs = std::filesystem;
using renkomi::WordPair;

constexpr std::size_t kPairs = 110000;

// A window that does nothing: the timings are the engine's own.
class NullWindow : public renkomi::GameWindow {
 public:
  void SetText(renkomi::Control, const std::string&) override {}
  void Clear(renkomi::Control) override {}
  void SetEnabled(renkomi::Control, bool) override {}
  void Focus(renkomi::Control) override {}
  void SetGauge(int) override {}
  void SetBubbleColour(renkomi::BubbleColour) override {}
  void ShowMessageSet(int) override {}
  void PlaySoundFile(const std::string&) override {}
  void ShowInformation(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  WordPair InputWordPair(const std::string&, const std::string&) override { return {}; }
  void Beep() override {}
};

// Kanji jukugo of 2 to 4 characters from the first kanji level (about 2,900
// kanji), each with a hiragana reading of 1 to 3 kana per kanji; deterministic.
class DictionaryMaker {
 public:
  WordPair Next() {
    WordPair pair;
    const std::uint32_t length = 2 + Below(3);
    for (std::uint32_t i = 0; i < length; ++i) {
      pair.jukugo += Kanji();
      const std::uint32_t kana = 1 + Below(3);
      for (std::uint32_t k = 0; k < kana; ++k) {
        pair.yomi += '\x82';
        pair.yomi += static_cast<char>(0xA0 + Below(0x52));  // あ..ん
      }
    }
    return pair;
  }

 private:
  std::uint32_t Below(std::uint32_t n) { return random_.RandomBelow(n); }
  std::string Kanji() {
    // Lead bytes 0x89-0x97 with every trail byte but 0x7F: level-1 kanji.
    const auto lead = static_cast<char>(0x89 + Below(0x97 - 0x89 + 1));
    auto trail = static_cast<unsigned char>(0x40 + Below(0xFC - 0x40));
    if (trail >= 0x7F) ++trail;
    return std::string{lead, static_cast<char>(trail)};
  }
  renkomi::Random random_{20240601};
};

// One dictionary in a temporary folder for the whole run.
class BenchDictionary {
 public:
  BenchDictionary() {
    std::string pattern = (fs::temp_directory_path() / "renkomi-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    // A copy of the real dictionary, so that the saves timed here never touch it.
    renkomi::WordListPair words = renkomi::bench::RealWords();
    DictionaryMaker maker;
    for (std::size_t i = words.Count(); i < kPairs && renkomi::bench::RealDictionary().empty(); ++i) {
      WordPair pair = maker.Next();
      words.Append(std::move(pair.jukugo), std::move(pair.yomi));
    }
    renkomi::SavePair(folder_ / "bench.jdc", words.jukugo().Entries(), folder_ / "bench.ydc", words.yomi().Entries());
  }
  ~BenchDictionary() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  const fs::path& Folder() const { return folder_; }

  static BenchDictionary& Get() {
    static BenchDictionary dictionary;
    return dictionary;
  }

 private:
  fs::path folder_;
};

std::unique_ptr<renkomi::DictionaryStore> LoadedStore() {
  auto store = std::make_unique<renkomi::DictionaryStore>(BenchDictionary::Get().Folder());
  store->ChooseDictionary("bench");
  store->LoadDictionary();
  return store;
}

void BM_LoadDictionary(benchmark::State& state) {
  auto store = LoadedStore();
  for (auto _ : state) {
    store->LoadDictionary();
    benchmark::DoNotOptimize(store->Comp().Count());
  }
  state.counters["pairs"] = static_cast<double>(store->Comp().Count());
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

void BM_SaveDictionary(benchmark::State& state) {
  auto store = LoadedStore();
  for (auto _ : state) store->SaveDictionary();
  state.counters["bytes"] = static_cast<double>(fs::file_size(store->JukugoPath()) +
                                                fs::file_size(store->YomiPath()));
}
BENCHMARK(BM_SaveDictionary)->Unit(benchmark::kMillisecond);

// One reply of the computer: the scan of all of COMP, the draw, and taking the
// reply out of COMP. The reply goes back between iterations, untimed.
void BM_ComputerTurn(benchmark::State& state) {
  auto store = LoadedStore();
  NullWindow window;
  renkomi::Random random(1);
  renkomi::Match match(*store, window, random);
  // A player's word whose last kanji starts some dictionary words.
  std::string playerWord;
  std::size_t candidates = 0;
  for (const auto& entry : store->Comp().jukugo().Entries()) {
    std::size_t n = 0;
    for (const auto& other : store->Comp().jukugo().Entries()) n += renkomi::IsChained(entry, other);
    if (n >= 30) {
      playerWord = entry;
      candidates = n;
      break;
    }
  }
  for (auto _ : state) {
    match.ComputerTurn(playerWord);
    state.PauseTiming();
    const WordPair reply = match.ComputerWord();
    store->ClearUsed();
    store->AddWord(reply.jukugo, reply.yomi);
    state.ResumeTiming();
  }
  state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_ComputerTurn)->Unit(benchmark::kMicrosecond);

void BM_FindMiss(benchmark::State& state) {
  auto store = LoadedStore();
  const std::string absent = "\x88\x9F\x88\x9F\x88\x9F";  // 亜亜亜: not generated
  for (auto _ : state) benchmark::DoNotOptimize(store->Comp().jukugo().Find(absent));
}
BENCHMARK(BM_FindMiss)->Unit(benchmark::kMicrosecond);

}  // namespace

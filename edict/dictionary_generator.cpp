#include "dictionary_generator.h"

#include <future>
#include <system_error>
#include <unordered_set>

#include "errors.h"
#include "vocabularies.h"

namespace renkomi {

namespace {

namespace fs = std::filesystem;

bool HasCosts(const WordSources& sources) {
  std::error_code ec;
  return !sources.costs.empty() && fs::is_directory(sources.costs, ec);
}

bool HasKanjidic(const WordSources& sources) {
  std::error_code ec;
  return !sources.kanjidic.empty() && fs::is_regular_file(sources.kanjidic, ec);
}

bool SharedMissing(const fs::path& folder) {
  std::error_code ec;
  for (std::string_view name : {kSharedJukugoFile, kSharedYomiFile}) {
    if (fs::symlink_status(folder / name, ec).type() != fs::file_type::not_found) return false;
  }
  return true;
}

// Dictionaries made by an earlier version, or before a source was installed.
bool Stale(const WordsRecord& record, const WordSources& sources) {
  return record.version < kWordsVersion || (!record.costs && HasCosts(sources)) ||
         (!record.school && HasKanjidic(sources));
}

// Reports the bytes read across all the sources as one count.
class SourcesProgress {
 public:
  SourcesProgress(const ReadProgress& progress, std::uintmax_t total) : progress_(progress), total_(total) {}
  ReadProgress Next(std::uintmax_t size) {
    const std::uintmax_t before = before_;
    before_ += size;
    if (!progress_) return {};
    return [this, before](std::uintmax_t done, std::uintmax_t) { progress_(before + done, total_); };
  }

 private:
  const ReadProgress& progress_;
  std::uintmax_t total_;
  std::uintmax_t before_ = 0;
};

std::uintmax_t SizeOf(const fs::path& path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  return ec ? 0 : size;
}

// The earlier generation's words of one dictionary (those of `candidates` it
// gave a reading) with the reading each had then and has now; `nowWords` beyond
// them are what the dictionary gains.
Correction CorrectionFor(const ChosenReadings& now, const WordSelection& candidates, EarlierRule rule,
                         const WordSelection& nowWords) {
  Correction correction;
  std::unordered_set<std::size_t> earlier;
  for (std::size_t i : candidates) {
    std::string reading = EarlierReading(now.Word(i), rule);
    if (reading.empty()) continue;
    earlier.insert(i);
    correction.readings.emplace(now.Word(i).jukugo, std::pair{std::move(reading), now.Yomi(i)});
  }
  WordSelection gained;
  for (std::size_t i : nowWords) {
    if (!earlier.contains(i)) gained.push_back(i);
  }
  correction.additions = PairsOf(now, gained);
  return correction;
}

}  // namespace

bool WantsDictionaryWork(const fs::path& folder, const WordSources& sources) {
  std::error_code ec;
  if (!fs::is_regular_file(sources.edict, ec)) return false;
  return SharedMissing(folder) || Stale(ReadWordsRecord(folder), sources);
}

Generation GenerateDictionaries(const WordSources& sources, const fs::path& folder, const ReadProgress& progress) {
  Generation done;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) EnsureNoSharedDictionary(folder);  // throws the missing folder
  const WordsRecord record = ReadWordsRecord(folder);
  const bool shared = SharedMissing(folder);
  const auto large = ExistingSizedDictionary(folder, kLargeDictionaryPrefix);
  const auto school = ExistingSizedDictionary(folder, kSchoolDictionaryPrefix);
  const bool kanjidic = HasKanjidic(sources);
  if (!shared) done.sharedLeft = (folder / kSharedJukugoFile).string() + " already exists; the shared dictionary is kept";
  if (!large.empty()) done.largeLeft = large.front().string() + " already exists; the large dictionary is kept";
  if (!school.empty()) {
    done.schoolLeft = school.front().string() + " already exists; the school dictionary is kept";
  } else if (!kanjidic) {
    done.schoolLeft = "KANJIDIC is not installed; there is no school dictionary";
  }
  const bool makeSchool = school.empty() && kanjidic;
  const bool stale = Stale(record, sources);
  if (!shared && !large.empty() && !makeSchool && !stale) return done;

  // The sources, read in full: edict, the costs, KANJIDIC only for a new school
  // dictionary. The costs are read on a second thread meanwhile, and the bar
  // counts what this one reads.
  done.costs = HasCosts(sources);
  std::future<WordCosts> costsRead = std::async(std::launch::async, [&sources, read = done.costs] {
    WordCosts costs;
    if (read) costs.AddFolder(sources.costs);
    return costs;
  });
  const std::uintmax_t edictBytes = SizeOf(sources.edict);
  const std::uintmax_t kanjidicBytes = makeSchool ? SizeOf(sources.kanjidic) : 0;
  SourcesProgress reading(progress, edictBytes + kanjidicBytes);
  EdictWords edict;
  SchoolKanji schoolKanji;
  try {
    edict.AddFile(sources.edict, reading.Next(edictBytes));
    if (makeSchool) schoolKanji.AddFile(sources.kanjidic, reading.Next(kanjidicBytes));
  } catch (...) {
    costsRead.wait();
    throw;
  }
  done.lines = edict.LineCount();
  done.undecodable = edict.UndecodableLineCount();
  const WordCosts costs = costsRead.get();

  const ChosenReadings chosen(edict, costs);
  const WordSelection sharedWords = SharedWords(chosen);
  if (large.empty()) {
    const WordSelection words = LargeWords(chosen);
    done.largeName = WriteSizedDictionary(folder, kLargeDictionaryPrefix, PairsOf(chosen, words));
    done.largePairs = words.size();
  }
  if (makeSchool) {
    const WordSelection words = SchoolWords(chosen, schoolKanji);
    done.schoolName = WriteSizedDictionary(folder, kSchoolDictionaryPrefix, PairsOf(chosen, words));
    done.schoolPairs = words.size();
  }

  // The dictionaries that were there keep every pair but the generator's own.
  const bool earlierRule = stale && record.version < kWordsVersion;
  const bool withoutCosts = stale && record.version >= kWordsVersion && !record.costs && done.costs;
  std::vector<std::pair<std::string, Correction>> corrections;
  const WordSelection everyWord = LargeWords(chosen);
  if (earlierRule) {
    if (!shared) {
      corrections.emplace_back(kSharedName, CorrectionFor(chosen, CommonWords(chosen),
                                                          EarlierRule::kFirstCommonReading, sharedWords));
    }
    if (!large.empty()) {
      corrections.emplace_back(large.front().stem(),
                               CorrectionFor(chosen, everyWord, EarlierRule::kFirstReading, everyWord));
    }
  } else if (withoutCosts) {
    if (!shared) {
      const ChosenReadings before(edict, WordCosts());
      corrections.emplace_back(kSharedName,
                               CorrectionFor(chosen, SharedWords(before), EarlierRule::kWithoutCosts, sharedWords));
    }
    if (!large.empty()) {
      corrections.emplace_back(large.front().stem(),
                               CorrectionFor(chosen, everyWord, EarlierRule::kWithoutCosts, everyWord));
    }
    if (!school.empty()) {
      const WordSelection common = CommonWords(chosen);
      corrections.emplace_back(school.front().stem(),
                               CorrectionFor(chosen, common, EarlierRule::kWithoutCosts, common));
    }
  }
  for (const auto& [name, correction] : corrections) done.corrected += CorrectDictionary(folder, name, correction);

  if (shared) {
    WriteSharedDictionary(folder, PairsOf(chosen, sharedWords));
    done.sharedPairs = sharedWords.size();
  }
  WriteWordsRecord(folder, {.version = kWordsVersion,
                            .costs = done.costs,
                            .school = record.school || !school.empty() || makeSchool});
  return done;
}

}  // namespace renkomi

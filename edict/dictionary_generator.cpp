#include "dictionary_generator.h"

#include <exception>
#include <system_error>

#include "errors.h"

namespace renkomi {

namespace fs = std::filesystem;

Generation GenerateMissingDictionaries(const fs::path& source, const fs::path& folder,
                                       const ReadProgress& progress) {
  Generation done;
  // Checked before the source is read, so that nothing to do costs nothing.
  try {
    EnsureNoSharedDictionary(folder);
  } catch (const std::exception& e) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) throw;
    done.sharedLeft = e.what();
  }
  if (const auto existing = ExistingLargeDictionary(folder); !existing.empty()) {
    done.largeLeft = existing.front().string() + " already exists; the large dictionary is left as it is";
  }
  const bool wantShared = done.sharedLeft.empty();
  const bool wantLarge = done.largeLeft.empty();
  if (!wantShared && !wantLarge) return done;

  EdictImport common(Vocabulary::kCommon);
  EdictImport all(Vocabulary::kAll);
  if (wantShared && wantLarge) {
    EdictImport::AddFile(source, {&common, &all}, progress);
  } else {
    EdictImport::AddFile(source, {wantShared ? &common : &all}, progress);
  }
  const EdictImport& read = wantShared ? common : all;
  done.lines = read.LineCount();
  done.undecodable = read.UndecodableLineCount();
  if (wantLarge) {
    done.largeName = WriteLargeDictionary(folder, all);
    done.largePairs = all.Jukugo().size();
  }
  if (wantShared) {
    WriteSharedDictionary(folder, common);
    done.sharedPairs = common.Jukugo().size();
  }
  return done;
}

bool WantsFirstDictionaries(const fs::path& folder, const fs::path& source) {
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return false;
  for (std::string_view name : {kSharedJukugoFile, kSharedYomiFile}) {
    if (fs::symlink_status(folder / name, ec).type() != fs::file_type::not_found) return false;
  }
  return true;
}

}  // namespace renkomi

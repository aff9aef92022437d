// The helpers the engine's tests call by their short names, declared once for all
// of them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace renkomi {
namespace {

using test::PrintTo;

namespace fs = std::filesystem;
using test::BuiltInJukugoFile;
using test::BuiltInYomiFile;
using test::ReadBytes;
using test::Sj;
using test::SjList;
using test::TempFolder;
using test::WriteBytes;
using V = std::vector<std::string>;

}  // namespace
}  // namespace renkomi

#include "bench/library_bench_support.h"

#include <cstdio>
#include <random>
#include <string>

#include "common/atomic_file.h"
#include "emulator/generated_download.h"
#include "library/session_library.h"
#include "logdata/log_file_format.h"
#include "ui/scripted_ui.h"

namespace kv::bench {

namespace fs = std::filesystem;

Dataset generated_download(int pages) {
  Dataset data;
  emu::load_download(data, emu::generate_log({.pages = pages, .sessions = 3, .seed = 1}));
  return data;
}

std::string log_text_of(const Dataset& data) {
  ScriptedUi ui;
  return write_log_file_text(data.sheet, data.identity, data.raw_memory, data.used_bytes, false, ui);
}

const fs::path& big_library() {
  static const fs::path root = [] {
    const fs::path folder = fs::temp_directory_path() / "kv-bench-library-10k";
    const fs::path made = folder / ".complete";
    if (fs::exists(made)) return folder;
    fs::remove_all(folder);
    Dataset data = generated_download(12);
    std::mt19937 random(7);
    const char* tracks[] = {"Brands", "Snetterton", "Oulton", "Donington", "Cadwell"};
    for (int i = 0; i < kBigLibraryRows; ++i) {
      data.sheet.notes_text = {"session " + std::to_string(i), "dry"};
      for (int slot = 1; slot <= library::kSetupFieldsInRow; ++slot) {
        data.sheet.set_field(slot, std::to_string(random() % 400 / 10.0).substr(0, 4));
      }
      data.sheet.set_field(library::kTrackSlot, tracks[i % 5]);
      const std::string year = std::to_string(2020 + i % 6);
      fs::create_directories(folder / year);
      char name[64];
      std::snprintf(name, sizeof name, "%s/%s-%02d-%02d_%06d.kvl", year.c_str(), year.c_str(), 1 + i % 12,
                    1 + i % 28, i);
      write_file_atomically((folder / name).string(), log_text_of(data));
    }
    library::SessionLibrary::open({folder.string()});
    write_file_atomically(made.string(), "");
    return folder;
  }();
  return root;
}

}  // namespace kv::bench

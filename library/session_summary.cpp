#include "library/session_summary.h"

namespace kv::library {

SessionRow summarize_log_file(const std::string&) { return {}; }

SessionTags tags_of(const SetupSheet& sheet) {
  return {sheet.field(kTrackSlot), sheet.field(kCarSlot), sheet.field(kDriverSlot), sheet.field(kFreeTagsSlot)};
}

void put_tags(SetupSheet& sheet, const SessionTags& tags) {
  sheet.set_field(kTrackSlot, tags.track);
  sheet.set_field(kCarSlot, tags.car);
  sheet.set_field(kDriverSlot, tags.driver);
  sheet.set_field(kFreeTagsSlot, tags.free_tags);
}

}  // namespace kv::library

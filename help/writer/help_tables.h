#pragma once
// The viewer's internal files of a compiled help file: #SYSTEM (titles, default topic,
// language), #WINDOWS (the viewer window with contents and index), #STRINGS, the topic tables
// #TOPICS, #URLTBL and #URLSTR, #IDXHDR, and #IVB, the map from context number to topic.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "help/writer/chm_container.h"

namespace vorn::help {

// Texts here are in the help file's code page (932 for Japanese).
struct Topic {
  std::string file;  // name inside the help file, without the leading "/"
  std::string title;
  bool inContents = false;
};

struct HelpBook {
  std::string title;
  std::string defaultTopic;
  std::string contentsFile;
  std::string indexFile;
  std::string defaultFont;
  std::string compiledName;  // the file's stem in lower case, "vorn4"
  uint32_t language = 0;
  std::vector<Topic> topics;
  std::map<uint32_t, std::string> contextMap;  // context number -> topic file
};

std::vector<ContainerFile> HelpTables(const HelpBook& book);

// The hash the topic table is sorted by, as the help compiler computes it.
uint32_t UrlHash(const std::string& url);

}  // namespace vorn::help

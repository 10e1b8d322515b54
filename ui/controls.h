#pragma once
// The state of the standard controls a form holds; views draw it and report events back.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

struct MenuItem {
  std::string caption;
  bool checked = false;
  bool enabled = true;
  // A checked item becomes unchecked and the reverse; returns the new state as 0 or 1.
  int16_t Toggle() {
    checked = !checked;
    return checked ? 1 : 0;
  }
};

struct ListBox {
  std::vector<std::string> items;
  int selected = -1;
  bool enabled = true;
  bool visible = true;
  void AddItem(const std::string& item, int index = -1) {
    if (index < 0 || index > static_cast<int>(items.size())) {
      items.push_back(item);
    } else {
      items.insert(items.begin() + index, item);
    }
  }
  void Clear() {
    items.clear();
    selected = -1;
  }
};

struct TextBox {
  std::string text;
  bool enabled = true;
  bool visible = true;
};

struct Button {
  std::string caption;
  bool enabled = true;
  bool visible = true;
};

struct CheckBox {
  std::string caption;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
};

// A frame around other controls: while it is disabled, none of them takes a click.
struct Frame {
  std::string caption;
  bool visible = true;
  bool enabled = true;
};

// A timer that ticks every interval milliseconds while enabled (as fast as the system allows
// when that is shorter than its shortest period).
struct Timer {
  unsigned interval = 0;
  bool enabled = false;
};

// A group of option buttons; exactly one is selected.
struct OptionGroup {
  std::vector<std::string> captions;
  int selected = 0;
  bool enabled = true;
  std::vector<int> disabledItems = {};  // single buttons greyed out within the group

  bool ItemEnabled(int index) const {
    return enabled && std::find(disabledItems.begin(), disabledItems.end(), index) == disabledItems.end();
  }
  void EnableItem(int index, bool on) {
    disabledItems.erase(std::remove(disabledItems.begin(), disabledItems.end(), index), disabledItems.end());
    if (!on) disabledItems.push_back(index);
  }
};

struct ComboBox {
  std::vector<std::string> items;
  int selected = -1;
  bool enabled = true;
  // The selected entry's text; empty without a selection.
  std::string Text() const {
    return selected >= 0 && selected < static_cast<int>(items.size()) ? items[static_cast<size_t>(selected)] : "";
  }
};

struct Label {
  std::string caption;
  bool visible = true;
};

struct ProgressBar {
  int32_t maximum = 100;  // the minimum is 0
  int32_t value = 0;
  bool visible = false;
  uint32_t barColor = 0;  // 0x00BBGGRR; 0 for the system's colour
  // The value, kept within 0 and the maximum as the control requires.
  void SetValue(int32_t newValue) { value = std::clamp<int32_t>(newValue, 0, std::max<int32_t>(maximum, 0)); }
};

struct TreeNode {
  std::string key;
  std::string text;
  int parent = -1;  // index of the parent node; -1 at the top level
  std::string imageKey;
  bool expanded = false;
  bool operator==(const TreeNode&) const = default;
};

struct TreeView {
  std::vector<TreeNode> nodes;  // parents before their children
  int selected = -1;
  bool enabled = true;
  void Clear() {
    nodes.clear();
    selected = -1;
  }
  // Adds a node below the node of that key (top level for an empty key); returns its index.
  int Add(const std::string& parentKey, const std::string& key, const std::string& text, const std::string& imageKey,
          bool expanded) {
    int parent = -1;
    for (size_t i = 0; i < nodes.size() && !parentKey.empty(); ++i)
      if (nodes[i].key == parentKey) parent = static_cast<int>(i);
    nodes.push_back({key, text, parent, imageKey, expanded});
    return static_cast<int>(nodes.size()) - 1;
  }
};

// The tabs of a tab control; the form shows the controls of the selected one.
struct TabStrip {
  std::vector<std::string> captions;
  int selected = 0;
};

}  // namespace vorn

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "update/TWebAddresses.h"
#include "util/TSettingsStore.h"

namespace norvale {

// The resource list: group lines ("#" and a caption) and link lines (a caption, "|"
// and an address), kept as the multi-string value "res" of Software\Norvale\Res.
constexpr const char* kResourcesKey = "Software\\Norvale\\Res";
constexpr const char* kResourcesValue = "res";

// The built-in list of 27 lines, every address on the maker's web site.
std::vector<std::string> BuiltInResources(const TWebAddresses& addresses);

// Stores the built-in list when the store holds none; a stored list is left alone.
void EnsureDefaultResources(TSettingsStore& store, const TWebAddresses& addresses);
// The stored list, or nothing when there is none. Raises "String list expected" for a
// value of another type.
std::optional<std::vector<std::string>> ReadResources(TSettingsStore& store);
// Replaces the stored list with the lines of text (CR, LF or CR LF). Empty lines are
// dropped: a multi-string value ends at its first empty string, so every line after
// one would be lost.
void StoreResources(TSettingsStore& store, std::string_view text);

// What the two resources menus show, built from a list.
struct TResourceGroup {
    std::string caption;
    std::vector<std::string> links;  // the captions of its link items
};
struct TResourceMenus {
    std::vector<TResourceGroup> groups;
    // Every link line, whole and in order (those before the first group too): what a
    // click is resolved against.
    std::vector<std::string> linkLines;
};
TResourceMenus ResourceMenusOf(const std::vector<std::string>& lines);

// The caption of a link line (before the first "|") and its address (after it).
std::string_view LinkCaption(std::string_view line);
std::string_view LinkAddress(std::string_view line);

// The address of the first link whose caption equals caption, both with A-Z lower-cased
// and every "&" removed (menus add "&" marks of their own); empty when none does.
std::string LinkForCaption(const std::vector<std::string>& linkLines, std::string_view caption);
// What a click on caption opens: its address when it is an http(s) address, otherwise
// the maker's home page, so no downloaded text can make the desktop open a file or a
// program.
std::string ResourceAddressFor(const std::vector<std::string>& linkLines, std::string_view caption,
                               const TWebAddresses& addresses);

// Cuts text into lines as the resources text is cut: CR, LF or CR LF end a line; a line
// end at the very end adds no empty line.
std::vector<std::string> TextLines(std::string_view text);

}  // namespace norvale

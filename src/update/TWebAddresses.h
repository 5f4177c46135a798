#pragma once

#include <string>
#include <string_view>

#include "util/TSettingsStore.h"

namespace norvale {

// The three web hosts the program talks to, from the settings store's sub-key
// Software\Norvale\Web (values "Site", "ListAddressHost", "ListProvider"), each
// falling back to a built-in default. Never values of Software\Norvale itself: the
// extension check marks are read there by position.
struct TWebAddresses {
    static constexpr const char* kKey = "Software\\Norvale\\Web";
    static constexpr const char* kDefaultSite = "http://www.norvale.example";
    static constexpr const char* kDefaultListAddressHost = "http://files.norvale.example";
    static constexpr const char* kDefaultListProvider = "http://www.domainpool.example";

    std::string Site = kDefaultSite;                        // the maker's web site
    std::string ListAddressHost = kDefaultListAddressHost;  // the second host with url.txt
    std::string ListProvider = kDefaultListProvider;        // the list provider's site

    // Reads the store; a value that is missing, not text or not an http(s) address
    // keeps its default.
    static TWebAddresses Load(TSettingsStore& store);

    std::string ListAddressTextUrl() const { return ListAddressHost + "/norvale/url.txt"; }
    std::string ResourcesTextUrl() const { return Site + "/files/resource.dat"; }
    std::string DefaultListUrl() const { return ListProvider + "/Downloads/PoolDeletingDomainsList.zip"; }
    std::string HomePage() const { return Site; }
    std::string OnlineHelpUrl() const { return Site + "/onlinehelp.php"; }
    std::string UpdateCheckUrl(const std::string& version) const { return Site + "/update.php?version=" + version; }
    std::string LinkUrl(const std::string& path) const { return Site + path; }
};

// True for an http:// or https:// address (scheme compared ignoring case) with a host.
bool IsWebAddress(std::string_view address);

}  // namespace norvale

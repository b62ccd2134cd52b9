#include "web/url.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace lexomir {
namespace {

struct UrlRow {
  std::string name;
  Text url;
  Text host;
  Text path;
  int port;
};

class UrlSplitTest : public ::testing::TestWithParam<UrlRow> {};

TEST_P(UrlSplitTest, HostPathAndPort) {
  const UrlRow& row = GetParam();
  EXPECT_EQ(url_host(row.url), row.host);
  EXPECT_EQ(url_path(row.url), row.path);
  EXPECT_EQ(url_port(row.url), row.port);
}

constexpr int kIntMax = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(
    Rows, UrlSplitTest,
    ::testing::Values(
        UrlRow{"Full", "http://HostA:81/a/b?x=1", "hosta", "/a/b?x=1", 81},
        UrlRow{"HostOnly", "http://host", "host", "/", 80}, UrlRow{"NoScheme", "host:81/x", "host", "/x", 81},
        UrlRow{"NoSchemeNoPath", "host", "host", "/", 80},
        // Only "http://" is known to the port, so "https:" is read as host and port.
        UrlRow{"Https", "https://secure/login", "secure", "/login", 0},
        UrlRow{"HttpsWithPort", "https://secure:8443/", "secure", "/", 0},
        UrlRow{"SchemeInQueryRemovedBeforeCut", "http://a/?next=http://b/", "a", "/?next=http://b/", 80},
        UrlRow{"PortNotANumber", "http://host:abc/", "host", "/", 0},
        UrlRow{"PortEmpty", "http://host:/", "host", "/", 0},
        UrlRow{"PortDefault", "http://host/", "host", "/", 80},
        UrlRow{"PortEmptyNoPath", "http://host:", "host", "/", 0},
        UrlRow{"PortFractionTruncated", "http://host:81.9/", "host", "/", 81},
        UrlRow{"PortLeadingBlank", "http://host: 81/", "host", "/", 81},
        UrlRow{"PortStopsAtJunk", "http://host:81x/", "host", "/", 81},
        UrlRow{"PortNoExponent", "http://host:8e1/", "host", "/", 8},
        UrlRow{"PortNegative", "http://host:-5/", "host", "/", -5},
        UrlRow{"PortHugeClamped", "http://host:99999999999999999999/", "host", "/", kIntMax},
        UrlRow{"PortOnlyFirstColon", "http://host:81:82/", "host", "/", 81},
        UrlRow{"PortSchemeAnyCase", "HtTp://host:82/", "http", "//host:82/", 82},
        // The upper-case scheme stays in the host's text, which is then cut at its first "/".
        UrlRow{"UpperCaseScheme", "HTTP://Host/", "http", "//Host/", 80},
        UrlRow{"EmptyHost", "http:///x", "", "///x", 80}, UrlRow{"Empty", "", "", "/", 80},
        UrlRow{"QueryAndFragmentKept", "http://example.com/p?q=1#f", "example.com", "/p?q=1#f", 80},
        UrlRow{"SlashRightAfterScheme", "http://", "", "//", 80},
        UrlRow{"ShorterThanScheme", "http:/", "http", "/", 0},
        // The host is found ignoring case wherever it first occurs, here inside the scheme.
        UrlRow{"HostInsideScheme", "http://t/x", "t", "//t/x", 80},
        // CB 3A is one character to the walk, so its ":" cuts neither the host nor the port.
        UrlRow{"ColonAsSecondByte", "\xCB:", "\xCB:", "/", 80},
        // Host letters fold, Chinese bytes (中 D6 D0) stay.
        UrlRow{"ChineseHost",
               "http://\xD6\xD0"
               "A.cn/x",
               "\xD6\xD0"
               "a.cn",
               "/x", 80}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace lexomir

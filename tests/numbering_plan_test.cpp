// SPDX-License-Identifier: MIT
// The numbering plan's carriers and the splitting of place descriptions.
#include <gtest/gtest.h>

#include "lookup/numbering_plan.h"
#include "lookup/region_names.h"
#include "lookup/segment_store.h"

namespace haoma::lookup {
namespace {

TEST(NumberingPlan, CarrierByFirstThreeOrFourDigits) {
    struct Case {
        const char* segment;
        const char* carrier;  // nullptr: not allocated
    };
    const Case cases[] = {
        {"1380013", "中国移动"},
        {"1300000", "中国联通"},
        {"1330000", "中国电信"},
        {"1340000", "中国移动"},
        {"1348999", "中国移动"},
        {"1349000", "中国电信(卫星通信)"},
        {"1740000", "中国电信(卫星通信)"},
        {"1745999", "中国电信(卫星通信)"},
        {"1746000", nullptr},
        {"1920000", "中国广电"},
        {"1620000", "中国电信(虚拟运营商)"},
        {"1650000", "中国移动(虚拟运营商)"},
        {"1670000", "中国联通(虚拟运营商)"},
        {"1700000", "中国电信(虚拟运营商)"},
        {"1703000", "中国移动(虚拟运营商)"},
        {"1704000", "中国联通(虚拟运营商)"},
        {"1710000", "中国联通(虚拟运营商)"},
        {"1990000", "中国电信"},
        {"1540000", nullptr},
        {"1790000", nullptr},
        {"1000000", nullptr},
        {"138001", nullptr},
        {"13800130", nullptr},
        {"138a013", nullptr},
    };
    for (const auto& c : cases) {
        const auto carrier = carrierOfSegment(c.segment);
        if (c.carrier == nullptr) {
            EXPECT_FALSE(carrier.has_value()) << c.segment;
        } else {
            EXPECT_EQ(carrier, c.carrier) << c.segment;
        }
    }
}

TEST(NumberingPlan, EveryAllocatedCarrierIsFoundByTheWindowFilter) {
    for (int prefix = 1300; prefix <= 1999; ++prefix) {
        const auto carrier = carrierOfSegment(std::to_string(prefix) + "000");
        if (!carrier) {
            continue;
        }
        const int words = (carrier->find("电信") != std::string_view::npos) +
                          (carrier->find("联通") != std::string_view::npos) +
                          (carrier->find("移动") != std::string_view::npos);
        EXPECT_EQ(words, *carrier == "中国广电" ? 0 : 1) << prefix;
    }
}

TEST(RegionNames, SplitsDescriptionsUnderTodaysNames) {
    struct Case {
        const char* description;
        const char* province;
        const char* city;
    };
    const Case cases[] = {
        {"山东省济南市", "山东省", "济南市"},
        {"内蒙古呼和浩特市", "内蒙古自治区", "呼和浩特市"},
        {"广西南宁市", "广西壮族自治区", "南宁市"},
        {"新疆伊犁哈萨克自治州", "新疆维吾尔自治区", "伊犁哈萨克自治州"},
        {"宁夏银川市", "宁夏回族自治区", "银川市"},
        {"西藏拉萨市", "西藏自治区", "拉萨市"},
        {"北京市", "北京市", "北京市"},
        {"天津", "天津市", "天津市"},
        {"天津市", "天津市", "天津市"},
        {"重庆市", "重庆市", "重庆市"},
        {"湖北省神农架林区", "湖北省", "神农架林区"},
        {"湖北省襄樊市", "湖北省", "襄阳市"},
        {"贵州省毕节地区", "贵州省", "毕节市"},
        {"新疆哈密地区", "新疆维吾尔自治区", "哈密市"},
        {"新疆和田地区", "新疆维吾尔自治区", "和田地区"},
        {"西藏日喀则地区", "西藏自治区", "日喀则市"},
        {"山东省莱芜市", "山东省", "济南市"},
        {"安徽省巢湖市", "安徽省", "合肥市"},
        {"黑龙江省大兴安岭地区", "黑龙江省", "大兴安岭地区"},
    };
    for (const auto& c : cases) {
        const auto region = splitDescription(c.description);
        ASSERT_TRUE(region.has_value()) << c.description;
        EXPECT_EQ(region->province, c.province) << c.description;
        EXPECT_EQ(region->city, c.city) << c.description;
    }
    for (const char* nothing : {"中国", "", "广东省", "内蒙古"}) {
        EXPECT_FALSE(splitDescription(nothing).has_value()) << nothing;
    }
}

}  // namespace
}  // namespace haoma::lookup

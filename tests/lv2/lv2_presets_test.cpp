// The factory presets as LV2 hosts find them: lilv discovers the bundle on
// LV2_PATH, lists the presets related to the plug-in, and restoring each
// one hands over the table's values as floats in the ports' units, Mix
// included, and nothing for Quality or bypass.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/factory_presets.h"
#include "core/host_units.h"
#include "core/parameter_table.h"

namespace {

// The smallest URID map a host can give: URIs numbered in order of asking.
struct UridMap {
    std::vector<std::string> uris;
    LV2_URID_Map map{this, [](LV2_URID_Map_Handle handle, const char* uri) -> LV2_URID {
                         auto& uris = static_cast<UridMap*>(handle)->uris;
                         for (size_t i = 0; i < uris.size(); ++i)
                             if (uris[i] == uri) return static_cast<LV2_URID>(i + 1);
                         uris.emplace_back(uri);
                         return static_cast<LV2_URID>(uris.size());
                     }};
    LV2_URID id(const char* uri) { return map.map(map.handle, uri); }
};

struct Restored {
    std::map<std::string, float> values;
    std::vector<std::string> notFloat;
    LV2_URID floatType = 0;
};

void collect(const char* symbol, void* data, const void* value, uint32_t size, uint32_t type) {
    auto& restored = *static_cast<Restored*>(data);
    if (type != restored.floatType || size != sizeof(float)) {
        restored.notFloat.emplace_back(symbol);
        return;
    }
    float v;
    std::memcpy(&v, value, sizeof v);
    restored.values[symbol] = v;
}

TEST(Lv2Presets, LilvFindsTheSixteenInOrderAndRestoresExactlyTheirValues) {
    setenv("LV2_PATH", VELMORA_LV2_SEARCH_PATH, 1);
    LilvWorld* world = lilv_world_new();
    lilv_world_load_all(world);
    UridMap urids;
    LilvNode* uri = lilv_new_uri(world, "urn:quorvane:velmora");
    LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    ASSERT_NE(plugin, nullptr);

    LilvNodes* related = lilv_plugin_get_related(plugin, presetClass);
    std::vector<std::string> presetUris;
    LILV_FOREACH (nodes, i, related) presetUris.emplace_back(lilv_node_as_uri(lilv_nodes_get(related, i)));
    lilv_nodes_free(related);
    ASSERT_EQ(presetUris.size(), kFactoryPresetCount);
    std::sort(presetUris.begin(), presetUris.end());  // jalv's order

    for (size_t i = 0; i < presetUris.size(); ++i) {
        const FactoryPreset& preset = kFactoryPresets[i];
        LilvNode* node = lilv_new_uri(world, presetUris[i].c_str());
        lilv_world_load_resource(world, node);
        LilvState* state = lilv_state_new_from_world(world, &urids.map, node);
        lilv_node_free(node);
        ASSERT_NE(state, nullptr) << presetUris[i];
        EXPECT_STREQ(lilv_state_get_label(state), preset.name);

        Restored restored;
        restored.floatType = urids.id(LV2_ATOM__Float);
        lilv_state_restore(state, nullptr, collect, &restored, 0, nullptr);
        lilv_state_free(state);
        EXPECT_TRUE(restored.notFloat.empty()) << preset.name << ": " << restored.notFloat.front();
        ASSERT_EQ(restored.values.size(), static_cast<size_t>(kNumParameters) + 1) << preset.name;
        // In the ports' units, each the float the plug-in reads back as the
        // table's value.
        for (int p = 0; p < kNumParameters; ++p) {
            const auto id = static_cast<HostParameterId>(p);
            const float unit = restored.values.at(kParameterTable[p].symbol);
            EXPECT_EQ(unit, unitFloat(id, preset.values[static_cast<size_t>(p)])) << preset.name << " " << p;
            if (hostUnitScale(id).unit != HostUnit::Curve && hostUnitScale(id).unit != HostUnit::Toggle) {
                EXPECT_EQ(hostFloatOfUnit(id, unit), preset.values[static_cast<size_t>(p)]) << preset.name << " " << p;
            }
        }
        EXPECT_EQ(restored.values.at("mix"), unitFloat(kHostMixId, preset.mix)) << preset.name;
    }
    lilv_node_free(presetClass);
    lilv_node_free(uri);
    lilv_world_free(world);
}

}  // namespace

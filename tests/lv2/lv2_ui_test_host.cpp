#include "lv2_ui_test_host.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <suil/suil.h>

#include <algorithm>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

namespace {

const char kPluginUri[] = "urn:quorvane:velmora";

std::string valueText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    return text;
}

// The bundle's own X11 UI, with its binary as a file path.
struct FoundUi {
    std::string uri;
    std::string bundlePath;
    std::string binaryPath;
};

FoundUi findUi(LilvWorld* world, const LilvPlugin* plugin) {
    LilvUIs* uis = lilv_plugin_get_uis(plugin);
    LilvNode* x11Ui = lilv_new_uri(world, LV2_UI__X11UI);
    FoundUi found;
    LILV_FOREACH (uis, i, uis) {
        const LilvUI* ui = lilv_uis_get(uis, i);
        if (!lilv_ui_is_a(ui, x11Ui)) continue;
        found.uri = lilv_node_as_uri(lilv_ui_get_uri(ui));
        char* bundle = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_bundle_uri(ui)), nullptr);
        char* binary = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
        found.bundlePath = bundle;
        found.binaryPath = binary;
        lilv_free(bundle);
        lilv_free(binary);
    }
    lilv_node_free(x11Ui);
    lilv_uis_free(uis);
    if (found.uri.empty()) throw std::runtime_error("the bundle describes no X11 UI");
    return found;
}

}  // namespace

Lv2UiTestHost::Lv2UiTestHost(float scaleFactor) {
    world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, (std::string(VELMORA_LV2_BUNDLE) + "/").c_str());
    lilv_world_load_bundle(world, bundle);
    lilv_node_free(bundle);
    LilvNode* uri = lilv_new_uri(world, kPluginUri);
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    lilv_node_free(uri);
    if (!plugin) throw std::runtime_error("the bundle does not describe the plug-in");
    const FoundUi ui = findUi(world, plugin);

    const uint32_t ports = lilv_plugin_get_num_ports(plugin);
    symbols.resize(ports);
    controls.resize(ports);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, controls.data());
    LilvNode* controlClass = lilv_new_uri(world, LV2_CORE__ControlPort);
    std::vector<bool> isControl(ports);
    for (uint32_t i = 0; i < ports; ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        symbols[i] = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
        isControl[i] = lilv_port_is_a(plugin, port, controlClass);
    }
    lilv_node_free(controlClass);

    // When the previous test's connections were the server's last, the
    // server resets and refuses connections for a moment.
    for (int attempt = 0; attempt < 100 && !display; ++attempt) {
        display = XOpenDisplay(nullptr);
        if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!display) throw std::runtime_error("no X display");
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 484, 286, 0, 0, 0);
    XStoreName(display, window, "lv2 ui test host");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify) break;
    }

    host = suil_host_new(writeFunction, portIndexFunction, nullptr, nullptr);
    suil_host_set_touch_func(host, touchFunction);
    const LV2_Feature parent = {LV2_UI__parent, reinterpret_cast<void*>(window)};
    const LV2_Feature idleInterface = {LV2_UI__idleInterface, nullptr};
    const LV2_Feature mapFeature = {LV2_URID__map, &map};
    const LV2_Options_Option options[] = {
        {LV2_OPTIONS_INSTANCE, 0, mapUri(this, LV2_UI__scaleFactor), sizeof(float), mapUri(this, LV2_ATOM__Float),
         &scaleFactor},
        {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    const LV2_Feature optionsFeature = {LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
    LV2UI_Resize resize{this, resizeFunction};
    const LV2_Feature resizeFeature = {LV2_UI__resize, &resize};
    const LV2_Feature* features[] = {&parent, &idleInterface, &mapFeature, &resizeFeature,
                                     scaleFactor > 0.0f ? &optionsFeature : nullptr, nullptr};
    instance = suil_instance_new(host, this, LV2_UI__X11UI, kPluginUri, ui.uri.c_str(), LV2_UI__X11UI,
                                 ui.bundlePath.c_str(), ui.binaryPath.c_str(), features);
    if (!instance) throw std::runtime_error("the UI could not be instantiated");
    widget = reinterpret_cast<unsigned long>(suil_instance_get_widget(instance));
    // As suil's own embedding does: the host window takes the UI window's size.
    ::Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (XGetGeometry(display, widget, &root, &x, &y, &width, &height, &border, &depth))
        XResizeWindow(display, window, width, height);
    XSync(display, False);

    // As hosts do: every control's current value once, then a first paint.
    for (uint32_t i = 0; i < ports; ++i)
        if (i >= 4 && isControl[i]) suil_instance_port_event(instance, i, sizeof(float), 0, &controls[i]);
    idleFor(0.2);
}

Lv2UiTestHost::~Lv2UiTestHost() {
    if (instance) suil_instance_free(instance);
    if (host) suil_host_free(host);
    if (display) {
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    lilv_world_free(world);
}

int Lv2UiTestHost::idle() {
    const auto* idleInterface =
        static_cast<const LV2UI_Idle_Interface*>(suil_instance_extension_data(instance, LV2_UI__idleInterface));
    if (!idleInterface) throw std::runtime_error("the UI has no idle interface");
    const int answer = idleInterface->idle(suil_instance_get_handle(instance));
    XSync(display, False);
    return answer;
}

void Lv2UiTestHost::idleFor(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

uint32_t Lv2UiTestHost::portIndex(const std::string& symbol) const {
    const auto found = std::find(symbols.begin(), symbols.end(), symbol);
    if (found == symbols.end()) throw std::invalid_argument("no port " + symbol);
    return static_cast<uint32_t>(found - symbols.begin());
}

void Lv2UiTestHost::portEvent(const std::string& symbol, float value) {
    const uint32_t index = portIndex(symbol);
    controls[index] = value;
    suil_instance_port_event(instance, index, sizeof value, 0, &value);
}

float Lv2UiTestHost::control(const std::string& symbol) const { return controls[portIndex(symbol)]; }

void Lv2UiTestHost::atomEvent(const std::string& symbol, const void* atom, uint32_t size) {
    suil_instance_port_event(instance, portIndex(symbol), size, mapUri(this, LV2_ATOM__eventTransfer), atom);
}

std::vector<std::vector<uint8_t>> Lv2UiTestHost::takeAtomWrites(const std::string& symbol) {
    std::vector<std::vector<uint8_t>> taken;
    const uint32_t port = portIndex(symbol);
    for (auto& [to, atom] : atomWrites)
        if (to == port) taken.push_back(std::move(atom));
    std::erase_if(atomWrites, [&](const auto& write) { return write.first == port; });
    return taken;
}

void Lv2UiTestHost::writeFunction(void* controller, uint32_t port, uint32_t size, uint32_t format,
                                  const void* buffer) {
    auto* self = static_cast<Lv2UiTestHost*>(controller);
    if (format != 0 && format == mapUri(self, LV2_ATOM__eventTransfer) && port < self->controls.size()) {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        self->atomWrites.emplace_back(port, std::vector<uint8_t>(bytes, bytes + size));
        return;
    }
    if (format != 0 || size != sizeof(float) || port >= self->controls.size()) {
        self->log.push_back("bad write to port " + std::to_string(port));
        return;
    }
    self->controls[port] = *static_cast<const float*>(buffer);
    self->log.push_back("write " + self->symbols[port] + " " + valueText(self->controls[port]));
}

uint32_t Lv2UiTestHost::portIndexFunction(void* controller, const char* symbol) {
    const auto& symbols = static_cast<Lv2UiTestHost*>(controller)->symbols;
    const auto found = std::find(symbols.begin(), symbols.end(), symbol);
    return found == symbols.end() ? UINT32_MAX : static_cast<uint32_t>(found - symbols.begin());
}

void Lv2UiTestHost::touchFunction(void* controller, uint32_t port, bool grabbed) {
    auto* self = static_cast<Lv2UiTestHost*>(controller);
    self->log.push_back("touch " + (port < self->symbols.size() ? self->symbols[port] : std::to_string(port)) +
                        (grabbed ? " on" : " off"));
}

uint32_t Lv2UiTestHost::mapUri(void* handle, const char* uri) {
    auto& uris = static_cast<Lv2UiTestHost*>(handle)->uris;
    const auto found = std::find(uris.begin(), uris.end(), uri);
    if (found != uris.end()) return static_cast<uint32_t>(found - uris.begin()) + 1;
    uris.emplace_back(uri);
    return static_cast<uint32_t>(uris.size());
}

int Lv2UiTestHost::resizeFunction(void* handle, int width, int height) {
    static_cast<Lv2UiTestHost*>(handle)->asked.emplace_back(width, height);
    return 0;
}

std::vector<uint32_t> Lv2UiTestHost::capture(int x, int y, int w, int h) const {
    XImage* image = XGetImage(display, widget, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
                              ZPixmap);
    if (!image) throw std::runtime_error("cannot read the UI window");
    std::vector<uint32_t> pixels;
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column)
            pixels.push_back(static_cast<uint32_t>(XGetPixel(image, column, row)) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

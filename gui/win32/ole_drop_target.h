// The editor window's OLE drop target: accepts text (CF_TEXT) and files
// (CF_HDROP), resolves shortcut files to their targets, and hands what was
// dropped to its sink.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <ole2.h>

#include <cstdint>

// Receives the dropped items: type kGuiDropText with items[0] the text and
// count its size in bytes, or kGuiDropFiles with count names. True when
// something took what was dropped.
class DropSink {
public:
    virtual bool dropped(void** items, int32_t count, int32_t type) = 0;

protected:
    ~DropSink() = default;
};

// Longest file name handed over, terminating NUL included.
inline constexpr int32_t kDropNameBytes = 1024;

class OleDropTarget final : public IDropTarget {
public:
    // Starts with one reference, the creator's.
    explicit OleDropTarget(DropSink& sink);

    OleDropTarget(const OleDropTarget&) = delete;
    OleDropTarget& operator=(const OleDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL where,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL where, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL where,
                                   DWORD* effect) override;

    // Every method catches everything (the caller is OLE, on the host's
    // thread) and then answers as for data it cannot take.
    // After Drop, *effect is DROPEFFECT_NONE unless the sink took the drop;
    // then it is the effect the last DragOver reported.

    // The sink is going away: later drops are ignored.
    void detach() { sink = nullptr; }

private:
    ~OleDropTarget() = default;
    HRESULT drop(IDataObject* data, DWORD* effect);
    bool dropText(STGMEDIUM& medium);
    bool dropFiles(STGMEDIUM& medium);

    LONG references = 1;
    DropSink* sink;
    bool accepted = false;
    DWORD reportedEffect = DROPEFFECT_NONE;
};

// The target path of a shortcut file, in short form; false if it cannot be
// resolved. target holds kDropNameBytes.
bool resolveShortcut(const char* shortcut, char* target);
// Whether the name's last dot starts ".lnk", compared without case.
bool isShortcutName(const char* name);

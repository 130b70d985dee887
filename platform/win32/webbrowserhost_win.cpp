// SPDX-License-Identifier: MIT
#include "platform/win32/webbrowserhost_win.h"

#include <ole2.h>
#include <oleidl.h>

#include <cwchar>

namespace platform {

// The container side of the embedding: just enough of a client site, in-place site and
// frame for the control to activate in place in the parent window. Menus, borders,
// status text and accelerators belong to the main window, so the control gets none.
class WebBrowserHost::Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    Site(HWND parent, RECT area)
        : parent_(parent)
        , area_(area)
    {
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *object = static_cast<IOleInPlaceFrame*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IOleClientSite: the page is never saved, and there is no document around it.
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        if (moniker)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override
    {
        if (container)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for both the in-place site and the frame): the parent window.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (!window)
            return E_POINTER;
        *window = parent_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
        LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override
    {
        if (!frame || !document || !position || !clip || !frameInfo)
            return E_POINTER;
        *frame = this;
        AddRef();
        *document = nullptr; // the frame is the only UI window
        *position = area_;
        *clip = area_;
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = parent_ ? GetAncestor(parent_, GA_ROOT) : nullptr;
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    // The pane's place is the main window's to decide, not the page's.
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow: no toolbars or borders from the control.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame: the main window's menu and keys stay its own.
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~Site() = default; // only through Release

    ULONG references_ = 1;
    HWND parent_;
    RECT area_;
};

namespace {

HRESULT makeSystemControl(IWebBrowser2** control)
{
    return CoCreateInstance(
        CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2, reinterpret_cast<void**>(control));
}

std::wstring describe(HRESULT result)
{
    wchar_t code[16];
    std::swprintf(code, std::size(code), L"0x%08lX", static_cast<unsigned long>(result));
    std::wstring text = code;
    wchar_t* message = nullptr;
    const DWORD length
        = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    if (length > 0) {
        std::wstring words(message, length);
        while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' '))
            words.pop_back();
        text += L" (" + words + L")";
    }
    if (message)
        LocalFree(message);
    return text;
}

} // namespace

WebBrowserHost::WebBrowserHost(HWND parent, RECT area)
    : WebBrowserHost(parent, area, makeSystemControl)
{
}

WebBrowserHost::WebBrowserHost(HWND parent, RECT area, ControlMaker makeControl)
    : parent_(parent)
    , area_(area)
    , makeControl_(std::move(makeControl))
{
}

WebBrowserHost::~WebBrowserHost()
{
    release();
    if (oleStarted_)
        OleUninitialize();
}

bool WebBrowserHost::navigate(const std::wstring& address)
{
    if (!ensureControl())
        return false;
    BSTR url = SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
    if (!url) {
        failure_ = L"no memory for the address";
        return false;
    }
    // Only the address: no flags, target frame, post data or headers.
    VARIANT flags, targetFrame, postData, headers;
    VariantInit(&flags);
    VariantInit(&targetFrame);
    VariantInit(&postData);
    VariantInit(&headers);
    const HRESULT result = browser_->Navigate(url, &flags, &targetFrame, &postData, &headers);
    SysFreeString(url);
    if (FAILED(result)) {
        fail(L"IWebBrowser2::Navigate", result);
        return false;
    }
    failure_.clear();
    return true;
}

HWND WebBrowserHost::window() const
{
    return window_;
}

std::wstring WebBrowserHost::failure() const
{
    return failure_;
}

// One attempt only: a control that could not be made once will not appear later, and
// retrying on every lookup would only slow the main window down.
bool WebBrowserHost::ensureControl()
{
    if (browser_)
        return true;
    if (tried_)
        return false;
    tried_ = true;

    // The control needs OLE on this thread, single-threaded; S_FALSE means it was already
    // started, and still has to be balanced.
    const HRESULT started = OleInitialize(nullptr);
    if (FAILED(started)) {
        fail(L"OleInitialize", started);
        return false;
    }
    oleStarted_ = true;

    IWebBrowser2* made = nullptr;
    const HRESULT result = makeControl_ ? makeControl_(&made) : E_POINTER;
    if (FAILED(result) || !made) {
        fail(L"making the web-browser control", FAILED(result) ? result : E_POINTER);
        return false;
    }
    browser_ = made;
    // Before any page: no script-error or other dialogs, no drops onto the page, as both
    // would take the keyboard from the main window.
    browser_->put_Silent(VARIANT_TRUE);
    browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
    if (!embed()) {
        release();
        return false;
    }
    return true;
}

bool WebBrowserHost::embed()
{
    IOleObject* object = nullptr;
    HRESULT result = browser_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
    if (FAILED(result) || !object) {
        fail(L"asking the control for IOleObject", FAILED(result) ? result : E_NOINTERFACE);
        return false;
    }
    site_ = new Site(parent_, area_);
    result = object->SetClientSite(site_);
    if (SUCCEEDED(result)) {
        // In place, not UI-activated: UI activation would move the focus to the page.
        result = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, parent_, &area_);
        if (FAILED(result))
            fail(L"activating the control in place", result);
    } else {
        fail(L"IOleObject::SetClientSite", result);
    }
    object->Release();
    if (FAILED(result))
        return false;

    IOleInPlaceObject* inPlace = nullptr;
    if (SUCCEEDED(browser_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))) && inPlace) {
        inPlace->SetObjectRects(&area_, &area_);
        HWND control = nullptr;
        if (SUCCEEDED(inPlace->GetWindow(&control)))
            window_ = control;
        inPlace->Release();
    }
    return true;
}

void WebBrowserHost::fail(const wchar_t* step, HRESULT result)
{
    failure_ = std::wstring(step) + L" failed: " + describe(result);
}

void WebBrowserHost::release()
{
    if (browser_) {
        IOleObject* object = nullptr;
        if (SUCCEEDED(browser_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) && object) {
            object->Close(OLECLOSE_NOSAVE);
            object->SetClientSite(nullptr);
            object->Release();
        }
        browser_->Release();
        browser_ = nullptr;
    }
    if (site_) {
        site_->Release();
        site_ = nullptr;
    }
    window_ = nullptr;
}

} // namespace platform

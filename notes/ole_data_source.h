// A data object that offers fixed data in any number of clipboard formats
// (HGLOBAL), and the drop source that goes with a left-button drag. Used to
// drag a page's selection out, and by the end-to-end drag helper.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

class CDataSource final : public IDataObject {
public:
    CDataSource() = default;
    CDataSource(const CDataSource&) = delete;
    CDataSource& operator=(const CDataSource&) = delete;

    // Adds a format with these bytes (copied as they are).
    void Add(CLIPFORMAT format, std::string bytes);
    // Adds CF_UNICODETEXT with a terminating NUL.
    void AddUnicodeText(const std::wstring& text);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    // Objects are created with new and deleted by their last Release; a
    // stack object is never released to zero because its owner holds one.
    ~CDataSource() = default;
    friend class CDataSourcePtr;
    ULONG m_refs = 1;
    std::vector<std::pair<CLIPFORMAT, std::string>> m_formats;
};

// Owns one reference to a CDataSource.
class CDataSourcePtr {
public:
    CDataSourcePtr() : m_p(new CDataSource) {}
    ~CDataSourcePtr() { m_p->Release(); }
    CDataSourcePtr(const CDataSourcePtr&) = delete;
    CDataSourcePtr& operator=(const CDataSourcePtr&) = delete;
    CDataSource* operator->() const { return m_p; }
    CDataSource* Get() const { return m_p; }

private:
    CDataSource* m_p;
};

// Drop source of a left-button drag: Esc cancels, releasing the button drops.
class CDropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

#include "notes/ole_data_source.h"

#include <shlobj.h>

#include <cstring>

void CDataSource::Add(CLIPFORMAT format, std::string bytes)
{
    m_formats.emplace_back(format, std::move(bytes));
}

void CDataSource::AddUnicodeText(const std::wstring& text)
{
    std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    Add(CF_UNICODETEXT, std::move(bytes));
}

HRESULT CDataSource::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CDataSource::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0) delete this;
    return refs;
}

HRESULT CDataSource::QueryGetData(FORMATETC* format)
{
    if (format == nullptr) return E_INVALIDARG;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    for (const auto& f : m_formats) {
        if (f.first == format->cfFormat) return S_OK;
    }
    return DV_E_FORMATETC;
}

HRESULT CDataSource::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    const HRESULT ok = QueryGetData(format);
    if (ok != S_OK) return ok;
    for (const auto& f : m_formats) {
        if (f.first != format->cfFormat) continue;
        HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, f.second.size() == 0 ? 1 : f.second.size());
        if (global == nullptr) return E_OUTOFMEMORY;
        void* p = ::GlobalLock(global);
        if (p == nullptr) {
            ::GlobalFree(global);
            return E_OUTOFMEMORY;
        }
        std::memcpy(p, f.second.data(), f.second.size());
        ::GlobalUnlock(global);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    return DV_E_FORMATETC;
}

HRESULT CDataSource::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (out) out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT CDataSource::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out)
{
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> list;
    for (const auto& f : m_formats) {
        list.push_back(FORMATETC{f.first, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    }
    return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), out);
}

HRESULT CDropSource::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IDropSource) {
        *object = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT CDropSource::QueryContinueDrag(BOOL escape, DWORD keys)
{
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}

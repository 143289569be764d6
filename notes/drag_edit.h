// CDragEdit: the edit view that pages use, made a target and a source of
// drag and drop. Text, browser content ("HTML Format") and files can be
// dropped into a page; a selection can be dragged out of a page or moved
// within it. The same drop logic appends to the current page when something
// is dropped on the floating drop window (CFloatDropWnd).
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>

#include "framework/editview.h"

class CDragEdit;

// The OLE drop target of a page (page mode) or of the floating window
// (floating-window mode: it serves another window and appends to the main
// frame's active page). Owned by its window's object, never by COM.
class CEditDropTarget final : public IDropTarget {
public:
    CEditDropTarget() = default;
    CEditDropTarget(const CEditDropTarget&) = delete;
    CEditDropTarget& operator=(const CEditDropTarget&) = delete;
    ~CEditDropTarget() { Revoke(); }

    // With an edit: page mode for it. Without: floating-window mode for hwnd.
    bool Register(HWND hwnd, CDragEdit* edit);
    void Revoke();
    bool IsRegistered() const { return m_hWnd != nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

private:
    HRESULT DropNow(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect);

    HWND m_hWnd = nullptr;          // the window it is registered for
    CDragEdit* m_pEdit = nullptr;   // page mode
    bool m_bAccepting = false;
    bool m_bFiles = false;          // the drag carries a file list: always a copy
};

class CDragEdit : public CEditView {
public:
    // Feature bits: the selection can be dragged out; text drops are taken.
    static constexpr int kDragOut = 1;
    static constexpr int kTextDrops = 2;

    // Registers the page's drop target on the current edit control and lets
    // it take shell file drops. Call again after the control is recreated
    // (word wrap), after RevokeDropTarget on the old one.
    void RegisterDropTarget();
    void RevokeDropTarget();

    void OnInitialUpdate() override;

    // Appends whatever the data offers to the end of this page (a drop on
    // the floating window). dialogParent owns the IE drag dialog if it asks.
    // Returns whether anything could be used.
    bool AppendDrop(IDataObject* data, CWnd* dialogParent);
    // Appends a file list (each path and CR LF) at the end of the page.
    void AppendFiles(const std::wstring& fileList);

    // Page-mode halves of the drop target.
    DWORD OnDragEnter(IDataObject* data, DWORD keys);
    DWORD OnDragOver(DWORD keys, POINT client);
    HRESULT OnDrop(IDataObject* data, DWORD keys, POINT client, DWORD* effect);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    int CharFromPoint(POINT client) const;
    void ShowDropCaret(POINT client);
    // Inserts at the line after the caret's line, undoable, then selects it.
    void InsertAfterCaretLine(const std::wstring& text);
    void InsertAtEnd(const std::wstring& text, bool scrollDown);
    std::u16string LastLine() const;
    bool OnLButtonDown(WPARAM keys, POINT client);
    void OnDropFiles(HDROP drop);

    bool m_bRegistered = false;
    int m_nFeatures = 0;
    bool m_bDragging = false;
    bool m_bDroppedOnSelf = false;
    int m_nDropIndex = 0;           // where a move within this page landed
    CEditDropTarget m_dropTarget;
};

// Asks with the IE drag dialog or takes the stored choice; -1 when the user
// cancelled.
int ChooseHtmlContent(CWnd* dialogParent);

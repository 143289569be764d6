// Documents, views and the multiple-document template that makes a child
// frame with a view on a document.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/frame.h"
#include "framework/wnd.h"

class CDocTemplate;
class CView;

class CDocument : public CCmdTarget {
public:
    ~CDocument() override;

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_viewList; }
    CView* GetFirstView() const { return m_viewList.empty() ? nullptr : m_viewList.front(); }

    const std::wstring& GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the file name).
    virtual void SetPathName(const std::wstring& path, bool addToMRU = true);
    const std::wstring& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::wstring& title);

    virtual bool IsModified() { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    virtual bool OnNewDocument();
    // Writes the document to the file; returns success.
    virtual bool OnSaveDocument(const wchar_t* path) { return false; }
    // Destroys the document's frames and, when it owns itself, the document.
    virtual void OnCloseDocument();

    // Saves to path, or asks for a file name first when path is null. With
    // replace the document takes the new path as its own.
    virtual bool DoSave(const wchar_t* path, bool replace = true);
    bool DoFileSave();
    // The framework's save-failure message box.
    void ReportSaveLoadException(const wchar_t* path, DWORD error, bool saving,
                                 const wchar_t* defaultText);

    CDocTemplate* m_pDocTemplate = nullptr;
    bool m_bAutoDelete = true;

protected:
    bool HandleCommand(CmdRequest& req) override;
    virtual void OnFileSave() { DoFileSave(); }
    virtual void OnFileSaveAs() { DoSave(nullptr); }

    std::wstring m_strPathName;
    std::wstring m_strTitle;
    bool m_bModified = false;
    std::vector<CView*> m_viewList;
    bool m_bClosing = false;
};

class CView : public CWnd {
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    // Creates the view window as a child of the frame and joins the document.
    virtual bool CreateView(CFrameWnd* parent, UINT id, CCreateContext* context);
    virtual void OnInitialUpdate() {}
    virtual void OnActivateView(bool activate, CView* activated, CView* deactivated);

    // The view first, then its document.
    bool OnCmdMsg(CmdRequest& req) override;

    CDocument* m_pDocument = nullptr;

protected:
    // Window class and style of the view window.
    virtual bool CreateViewWindow(CFrameWnd* parent, UINT id);
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PostNcDestroy() override { delete this; }
};

// Makes documents with a child frame and a view each (the program uses one
// document with many frames).
class CDocTemplate : public CCmdTarget {
public:
    using DocFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CMDIChildWnd*()>;
    using ViewFactory = std::function<CView*()>;

    CDocTemplate(UINT idResource, DocFactory doc, FrameFactory frame, ViewFactory view);
    ~CDocTemplate() override;

    // Creates a new document with its first frame and view (path null) and
    // shows the frame. Returns the document, or null.
    CDocument* OpenDocumentFile(const wchar_t* path);
    // Creates one more frame with a view on the document; not shown yet.
    CMDIChildWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    // Shows the frame, makes it active and sends the view its initial update.
    void InitialUpdateFrame(CMDIChildWnd* frame, CDocument* doc, bool makeVisible = true);
    void CloseAllDocuments();
    void RemoveDocument(CDocument* doc);

    // The n-th part of the document string ("\nJotstack\n...").
    std::wstring GetDocString(int index) const;

    UINT m_nIDResource;
    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;

private:
    DocFactory m_newDoc;
    FrameFactory m_newFrame;
    ViewFactory m_newView;
    std::vector<CDocument*> m_docList;
};

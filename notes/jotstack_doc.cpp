// CJotstackDoc: loading, saving and exporting the notebook, and its view
// states in the INI file. The pages on screen are in jotstack_doc_pages.cpp.
#include "notes/jotstack_doc.h"

#include "app/para_block.h"
#include "framework/app.h"
#include "notes/ini_text.h"
#include "notes/jotstack_view.h"
#include "notes/notes_host.h"
#include "notes/storage_codec.h"
#include "notes/storage_file.h"

namespace {

std::string ViewSection(int index)
{
    return "View" + std::to_string(index);
}

}  // namespace

bool CJotstackDoc::LoadNotes()
{
    // The path is set directly, so the title stays as it is.
    m_strPathName = notesfile::StoragePath();
    std::string bytes;
    // Another program may hold the file or be rewriting it for a moment (a
    // virus scanner, a sync client): try again for about two seconds
    // before giving up.
    notesfile::ReadResult read = notesfile::ReadSettledFile(m_strPathName, bytes);
    for (int retry = 0; retry < 10 && read == notesfile::ReadResult::Failed; ++retry) {
        ::Sleep(200);
        read = notesfile::ReadSettledFile(m_strPathName, bytes);
    }
    if (read == notesfile::ReadResult::Failed)
        return false;
    std::vector<storage::Page> pages = storage::ParseFile(bytes, notesfile::SystemCodePage());
    bytes.clear();
    bytes.shrink_to_fit();
    m_notebook.Assign(std::move(pages));
    FillTabs();
    return true;
}

void CJotstackDoc::RestorePages(int current)
{
    // One read of the INI file for every page: the profile functions would
    // read it again for each of the thousands of keys.
    std::string bytes;
    notesfile::ReadWholeFile(g_szIniPath, bytes);
    const ini::IniText ini(bytes);
    std::vector<notebook::ViewState> views(static_cast<size_t>(m_notebook.Count()));
    for (size_t i = 0; i < views.size(); ++i) {
        const std::string section = ViewSection(static_cast<int>(i));
        views[i].start = ini.Int(section, "PARA_START_CHAR").value_or(0);
        views[i].end = ini.Int(section, "PARA_END_CHAR").value_or(0);
        views[i].firstLine = ini.Int(section, "PARA_FIRST_LINE").value_or(0);
    }
    m_notebook.AssignViews(views);
    if (current < 0 || current >= m_notebook.Count())
        current = 0;
    ShowPage(current);
}

void CJotstackDoc::SaveViewStates()
{
    CJotstackView::SaveFontSettings();
    const auto changed = m_notebook.ViewStatesToWrite();
    if (changed.empty() || !g_szIniPath[0])
        return;
    if (changed.size() == 1) {
        // The everyday case, the page on screen: the profile functions do
        // it in one write.
        const auto& [index, view] = changed.front();
        const std::wstring section = L"View" + std::to_wstring(index);
        const std::wstring keys = L"PARA_START_CHAR=" + std::to_wstring(view.start) + L'\0' +
                                  L"PARA_END_CHAR=" + std::to_wstring(view.end) + L'\0' +
                                  L"PARA_FIRST_LINE=" + std::to_wstring(view.firstLine) + L'\0';
        if (::WritePrivateProfileSectionW(section.c_str(), keys.c_str(), g_szIniPath))
            m_notebook.MarkViewStatesWritten();
        return;
    }
    // Many at once (pages moved or deleted): one rewrite of the whole file
    // instead of one per section.
    std::string bytes;
    if (notesfile::ReadWholeFile(g_szIniPath, bytes) == notesfile::ReadResult::Failed)
        return;
    ini::IniText ini(bytes);
    std::vector<std::pair<std::string, ini::IniText::Keys>> sections;
    sections.reserve(changed.size());
    for (const auto& [index, view] : changed)
        sections.push_back({ViewSection(index),
                            {{"PARA_START_CHAR", std::to_string(view.start)},
                             {"PARA_END_CHAR", std::to_string(view.end)},
                             {"PARA_FIRST_LINE", std::to_string(view.firstLine)}}});
    ini.ReplaceSections(sections);
    if (notesfile::WriteFileSafely(g_szIniPath, ini.Bytes(), nullptr) == 0)
        m_notebook.MarkViewStatesWritten();
}

bool CJotstackDoc::AnyPageModified() const
{
    return m_notebook.AnyModified();
}

bool CJotstackDoc::SaveNotes()
{
    if (!AnyPageModified())
        return true;
    // An empty file or one holding only the byte-order mark is not worth a
    // backup; the previous backup stays.
    m_bKeepBackup = notesfile::FileSize(m_strPathName) > 2;
    m_bExport = false;
    bool saved = OnSaveDocument(m_strPathName.c_str());
    m_bKeepBackup = false;
    return saved;
}

DWORD CJotstackDoc::WriteCopy(const std::wstring& path)
{
    return WriteNotes(path, false, nullptr);
}

DWORD CJotstackDoc::WriteNotes(const std::wstring& path, bool exportForm, const std::wstring* backup)
{
    // Pages never shown are written from their text as loaded; a page on
    // screen is read back from its window only when it changed.
    m_notebook.CollectEditors();
    const storage::Form form = exportForm ? storage::Form::Export : storage::Form::Storage;
    return notesfile::WriteFileSafely(
        path, [&](const notesfile::ByteSink& put) { m_notebook.Encode(form, kWriteChunk, put); }, backup);
}

void CJotstackDoc::OnFileSave()
{
    // Ctrl+S and the framework's save command: the frame saves and tells the
    // user when it failed.
    if (m_pHost)
        m_pHost->SaveNotesForUser();
    else
        SaveNotes();
}

void CJotstackDoc::OnFileSaveAs()
{
    m_bExport = true;
    std::wstring remembered = m_strPathName;
    DoSave(nullptr, true);
    if (!m_strPathName.empty())
        m_strPathName = remembered;
    m_bExport = false;
}

bool CJotstackDoc::OnSaveDocument(const wchar_t* path)
{
    if (!path || !*path) {
        m_dwLastSaveError = ERROR_INVALID_NAME;
        return false;
    }
    const std::wstring target = path;
    const std::wstring backup = notesfile::BackupPath(target);
    DWORD err = WriteNotes(target, m_bExport, m_bKeepBackup ? &backup : nullptr);
    m_dwLastSaveError = err;
    if (err != 0) {
        if (m_bExport) {
            // The user chose this file just now: say at once why it failed.
            std::u16string text = u"抱歉，笔记未能导出到这个文件。\r\n\r\n";
            text += SaveFailureReason(notesfile::ClassifySaveError(err));
            CWinApp* app = AfxGetApp();
            ::MessageBoxW(m_pFrame ? m_pFrame->m_hWnd : nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                          app ? app->m_strAppName.c_str() : L"", MB_OK | MB_ICONEXCLAMATION);
        }
        return false;
    }
    if (!m_bExport) {
        m_notebook.MarkSaved();
        SetModifiedFlag(false);
    }
    return true;
}

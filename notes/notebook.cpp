#include "notes/notebook.h"

#include <utility>

namespace notebook {

Notebook::Notebook()
{
    Assign({});
}

void Notebook::Assign(std::vector<storage::Page> pages, const std::vector<ViewState>& views)
{
    m_pages.clear();
    if (pages.empty())
        pages.push_back({});
    m_pages.reserve(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        Page page;
        page.id = m_nextId++;
        page.name = storage::NormalizePageName(pages[i].name);
        page.text = std::move(pages[i].text);
        m_pages.push_back(std::move(page));
    }
    AssignViews(views);
}

void Notebook::AssignViews(const std::vector<ViewState>& views)
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        Page& page = m_pages[i];
        page.view = i < views.size() ? views[i] : ViewState{};
        // What was read is what the file holds (no section reads as zeros).
        page.iniIndex = static_cast<int>(i);
        page.iniView = page.view;
    }
}

int Notebook::IndexOf(PageId id) const
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i].id == id)
            return static_cast<int>(i);
    return -1;
}

std::u16string Notebook::TextOf(int index) const
{
    const Page& page = At(index);
    return page.editor ? page.editor->Text() : page.text;
}

size_t Notebook::TextLengthOf(int index) const
{
    const Page& page = At(index);
    return page.editor ? page.editor->TextLength() : page.text.size();
}

int Notebook::Append(std::u16string_view name, std::u16string text)
{
    Page page;
    page.id = m_nextId++;
    page.name = storage::NormalizePageName(name);
    page.text = std::move(text);
    page.modified = true;
    m_pages.push_back(std::move(page));
    return Count() - 1;
}

bool Notebook::Remove(int index)
{
    if (!IsValid(index) || Count() < 2)
        return false;
    Detach(index);
    m_pages.erase(m_pages.begin() + index);
    return true;
}

void Notebook::Rename(int index, std::u16string_view name)
{
    Page& page = At(index);
    page.name = storage::NormalizePageName(name);
    page.modified = true;
}

void Notebook::Swap(int a, int b)
{
    if (IsValid(a) && IsValid(b) && a != b)
        std::swap(m_pages[static_cast<size_t>(a)], m_pages[static_cast<size_t>(b)]);
}

void Notebook::MarkModified(int index)
{
    if (IsValid(index))
        At(index).modified = true;
}

void Notebook::Attach(int index, PageEditor* editor)
{
    Page& page = At(index);
    if (page.editor && page.editor != editor)
        Detach(index);
    page.editor = editor;
}

void Notebook::Detach(int index)
{
    Page& page = At(index);
    if (!page.editor)
        return;
    if (page.editor->IsModified()) {
        page.text = page.editor->Text();
        page.modified = true;
    }
    page.view = page.editor->State();
    page.editor = nullptr;
}

bool Notebook::AnyModified() const
{
    for (const Page& page : m_pages)
        if (page.modified || (page.editor && page.editor->IsModified()))
            return true;
    return false;
}

void Notebook::CollectEditors()
{
    for (Page& page : m_pages) {
        if (page.editor && page.editor->IsModified()) {
            page.text = page.editor->Text();
            page.modified = true;
        }
    }
}

std::string Notebook::Encode(storage::Form form)
{
    size_t units = 0;
    for (const Page& page : m_pages)
        units += page.name.size() + page.text.size() + 2 * storage::kSeparatorLength + 2;
    storage::Encoder encoder(form);
    encoder.Bytes().reserve(2 + 2 * units);
    for (const Page& page : m_pages)
        encoder.AddPage(page.name, page.text);
    return std::move(encoder.Bytes());
}

void Notebook::Encode(storage::Form form, size_t chunkBytes, const std::function<bool(std::string_view)>& put)
{
    // One buffer, used again for every piece: writing a big notebook costs
    // no second copy of it, and the buffer stays in the cache.
    storage::Encoder encoder(form);
    encoder.Bytes().reserve(chunkBytes + 4096);
    for (const Page& page : m_pages) {
        encoder.AddPage(page.name, page.text);
        if (encoder.Bytes().size() >= chunkBytes) {
            if (!put(encoder.Bytes()))
                return;
            encoder.Bytes().clear();
        }
    }
    if (!encoder.Bytes().empty())
        put(encoder.Bytes());
}

void Notebook::MarkSaved()
{
    for (Page& page : m_pages) {
        page.modified = false;
        if (page.editor)
            page.editor->ClearModified();
    }
}

ViewState Notebook::CurrentView(const Page& page) const
{
    return page.editor ? page.editor->State() : page.view;
}

std::vector<std::pair<int, ViewState>> Notebook::ViewStatesToWrite() const
{
    std::vector<std::pair<int, ViewState>> out;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        const Page& page = m_pages[i];
        const ViewState now = CurrentView(page);
        if (page.iniIndex != static_cast<int>(i) || !(page.iniView == now))
            out.emplace_back(static_cast<int>(i), now);
    }
    return out;
}

void Notebook::MarkViewStatesWritten()
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        Page& page = m_pages[i];
        page.view = CurrentView(page);
        page.iniIndex = static_cast<int>(i);
        page.iniView = page.view;
    }
}

}  // namespace notebook

// The floor under a large browser drop: what the edit control alone costs
// for the text that a 200 KB selection with 2,000 links inserts (one
// EM_REPLACESEL into a page styled like ours, the selection of the new
// text, and for comparison WM_SETTEXT of the same). Prints one line; no
// pass or fail. Run under Wine beside the end-to-end drop's drop_ms.
#include <windows.h>
#include <cstdio>
#include <string>
#include <algorithm>
#include <vector>
static double Now(){LARGE_INTEGER f,c;QueryPerformanceFrequency(&f);QueryPerformanceCounter(&c);return c.QuadPart*1000.0/f.QuadPart;}
int main(){
  std::wstring text;
  for(int i=0;i<2000;++i){ wchar_t b[200]; swprintf(b,200,L"Story %d about news today\thttps://news.example.com/articles/story-%d.html?from=list&n=%d\r\n",i,i,i); text+=b; }
  HWND top=CreateWindowExW(0,L"STATIC",L"floor",WS_OVERLAPPEDWINDOW|WS_VISIBLE,0,0,800,600,nullptr,nullptr,nullptr,nullptr);
  std::vector<double> rep, sel, set;
  for(int round=0;round<5;++round){
    HWND e=CreateWindowExW(WS_EX_CLIENTEDGE,L"EDIT",L"x",WS_CHILD|WS_VISIBLE|WS_HSCROLL|WS_VSCROLL|ES_AUTOHSCROLL|ES_AUTOVSCROLL|ES_MULTILINE|ES_NOHIDESEL,0,0,780,560,top,nullptr,nullptr,nullptr);
    SendMessageW(e,EM_SETLIMITTEXT,1024*1024-1,0);
    SendMessageW(e,EM_SETSEL,1,1);
    double t0=Now(); SendMessageW(e,EM_REPLACESEL,TRUE,(LPARAM)text.c_str()); double t1=Now();
    SendMessageW(e,EM_SETSEL,1,1+text.size()); SendMessageW(e,EM_SCROLLCARET,0,0); double t2=Now();
    rep.push_back(t1-t0); sel.push_back(t2-t1);
    DestroyWindow(e);
    HWND e2=CreateWindowExW(WS_EX_CLIENTEDGE,L"EDIT",L"",WS_CHILD|WS_VISIBLE|WS_HSCROLL|WS_VSCROLL|ES_AUTOHSCROLL|ES_AUTOVSCROLL|ES_MULTILINE|ES_NOHIDESEL,0,0,780,560,top,nullptr,nullptr,nullptr);
    SendMessageW(e2,EM_SETLIMITTEXT,1024*1024-1,0);
    double t3=Now(); SetWindowTextW(e2,text.c_str()); double t4=Now(); set.push_back(t4-t3);
    DestroyWindow(e2);
    MSG m; while(PeekMessageW(&m,nullptr,0,0,PM_REMOVE)){TranslateMessage(&m);DispatchMessageW(&m);}
  }
  auto med=[](std::vector<double> v){std::sort(v.begin(),v.end());return v[v.size()/2];};
  std::printf("chars=%zu replacesel_ms=%.1f select_scroll_ms=%.1f settext_ms=%.1f (medians of 5)\n",text.size(),med(rep),med(sel),med(set));
  return 0;
}

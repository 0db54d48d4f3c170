// CString: the framework's ANSI string, one pointer wide so that it can stand where a char* is expected.
#pragma once
#include <cstdarg>
#include "afxver_.h"

class AFX_API CString {
 public:
  CString();
  CString(const CString& other);
  CString(CString&& other) noexcept;
  CString(LPCSTR text);  // null or a string resource number made with MAKEINTRESOURCE
  CString(LPCSTR text, int length);
  CString(char ch, int repeat = 1);
  ~CString();

  int GetLength() const;
  BOOL IsEmpty() const { return GetLength() == 0; }
  void Empty();
  char GetAt(int index) const { return m_pchData[index]; }
  char operator[](int index) const { return m_pchData[index]; }
  void SetAt(int index, char ch);
  operator LPCSTR() const { return m_pchData; }

  const CString& operator=(const CString& other);
  const CString& operator=(CString&& other) noexcept;
  const CString& operator=(LPCSTR text);
  const CString& operator=(char ch);
  const CString& operator+=(const CString& other);
  const CString& operator+=(LPCSTR text);
  const CString& operator+=(char ch);
  friend AFX_API CString AFXAPI operator+(const CString& a, const CString& b);
  friend AFX_API CString AFXAPI operator+(const CString& a, LPCSTR b);
  friend AFX_API CString AFXAPI operator+(LPCSTR a, const CString& b);
  friend AFX_API CString AFXAPI operator+(const CString& a, char b);
  friend AFX_API CString AFXAPI operator+(char a, const CString& b);

  int Compare(LPCSTR text) const;
  int CompareNoCase(LPCSTR text) const;
  int Collate(LPCSTR text) const;
  int CollateNoCase(LPCSTR text) const;

  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;
  CString SpanIncluding(LPCSTR charSet) const;
  CString SpanExcluding(LPCSTR charSet) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();
  int Replace(char oldCh, char newCh);
  int Replace(LPCSTR oldText, LPCSTR newText);
  int Remove(char ch);
  int Insert(int index, char ch);
  int Insert(int index, LPCSTR text);
  int Delete(int index, int count = 1);
  void TrimLeft();
  void TrimLeft(char ch);
  void TrimLeft(LPCSTR chars);
  void TrimRight();
  void TrimRight(char ch);
  void TrimRight(LPCSTR chars);

  int Find(char ch) const { return Find(ch, 0); }
  int Find(char ch, int start) const;
  int Find(LPCSTR sub) const { return Find(sub, 0); }
  int Find(LPCSTR sub, int start) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR charSet) const;

  // Arguments are passed as for printf: a CString argument must be cast to LPCSTR.
  void AFX_CDECL Format(LPCSTR format, ...);
  void AFX_CDECL Format(UINT formatId, ...);
  void FormatV(LPCSTR format, va_list args);
  // Inserts %1, %2 ... from LPCSTR arguments, as the system's message formatter does.
  void AFX_CDECL FormatMessage(LPCSTR format, ...);
  void AFX_CDECL FormatMessage(UINT formatId, ...);

  // Loads from the resource chain (AfxFindStringResourceHandle); false and empty when absent.
  BOOL LoadString(UINT id);

  LPSTR GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);
  LPSTR GetBufferSetLength(int newLength);
  void FreeExtra();

 private:
  struct Header;
  Header* GetHeader() const;
  void Assign(LPCSTR text, int length);
  void Append(LPCSTR text, int length);
  void Reserve(int capacity);  // keeps the content
  char* m_pchData;
};

AFX_API bool AFXAPI operator==(const CString& a, const CString& b);
AFX_API bool AFXAPI operator==(const CString& a, LPCSTR b);
AFX_API bool AFXAPI operator==(LPCSTR a, const CString& b);
AFX_API bool AFXAPI operator!=(const CString& a, const CString& b);
AFX_API bool AFXAPI operator!=(const CString& a, LPCSTR b);
AFX_API bool AFXAPI operator!=(LPCSTR a, const CString& b);
AFX_API bool AFXAPI operator<(const CString& a, const CString& b);
AFX_API bool AFXAPI operator<(const CString& a, LPCSTR b);
AFX_API bool AFXAPI operator<(LPCSTR a, const CString& b);
AFX_API bool AFXAPI operator>(const CString& a, const CString& b);
AFX_API bool AFXAPI operator>(const CString& a, LPCSTR b);
AFX_API bool AFXAPI operator>(LPCSTR a, const CString& b);
AFX_API bool AFXAPI operator<=(const CString& a, const CString& b);
AFX_API bool AFXAPI operator<=(const CString& a, LPCSTR b);
AFX_API bool AFXAPI operator<=(LPCSTR a, const CString& b);
AFX_API bool AFXAPI operator>=(const CString& a, const CString& b);
AFX_API bool AFXAPI operator>=(const CString& a, LPCSTR b);
AFX_API bool AFXAPI operator>=(LPCSTR a, const CString& b);

// Replaces %1 to %9 in format by the given strings (missing ones stay as written).
AFX_API void AFXAPI AfxFormatStrings(CString& result, LPCSTR format, LPCSTR const* inserts, int count);
AFX_API void AFXAPI AfxFormatString1(CString& result, UINT formatId, LPCSTR insert1);
AFX_API void AFXAPI AfxFormatString2(CString& result, UINT formatId, LPCSTR insert1, LPCSTR insert2);

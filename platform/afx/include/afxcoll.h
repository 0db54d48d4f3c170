// The framework's named collections: pointer, object, string and integer arrays, lists and maps.
// Object collections serialize their elements with WriteObject, string ones with the string encoding.
#pragma once
#include "afxtempl.h"

#define AFX_DECLARE_ARRAY(name, type, arg, declare) \
  class AFX_API name : public CArray<type, arg> {   \
    declare(name)                                    \
   public:                                           \
    name() = default;                                \
    ~name() override;                                \
    AFX_SERIALIZE_##declare                          \
  };

#define AFX_SERIALIZE_DECLARE_DYNAMIC
#define AFX_SERIALIZE_DECLARE_SERIAL void Serialize(CArchive& ar) override;

AFX_DECLARE_ARRAY(CPtrArray, void*, void*, DECLARE_DYNAMIC)
AFX_DECLARE_ARRAY(CObArray, CObject*, CObject*, DECLARE_SERIAL)
AFX_DECLARE_ARRAY(CStringArray, CString, LPCSTR, DECLARE_SERIAL)
AFX_DECLARE_ARRAY(CByteArray, BYTE, BYTE, DECLARE_SERIAL)
AFX_DECLARE_ARRAY(CWordArray, WORD, WORD, DECLARE_SERIAL)
AFX_DECLARE_ARRAY(CDWordArray, DWORD, DWORD, DECLARE_SERIAL)
AFX_DECLARE_ARRAY(CUIntArray, UINT, UINT, DECLARE_DYNAMIC)

#define AFX_DECLARE_LIST(name, type, arg, declare)            \
  class AFX_API name : public CList<type, arg> {              \
    declare(name)                                              \
   public:                                                     \
    explicit name(int blockSize = 10) : CList(blockSize) {}    \
    ~name() override;                                          \
    AFX_SERIALIZE_##declare                                    \
  };

AFX_DECLARE_LIST(CPtrList, void*, void*, DECLARE_DYNAMIC)
AFX_DECLARE_LIST(CObList, CObject*, CObject*, DECLARE_SERIAL)
AFX_DECLARE_LIST(CStringList, CString, LPCSTR, DECLARE_SERIAL)

#define AFX_DECLARE_MAP(name, key, argkey, value, argvalue, declare) \
  class AFX_API name : public CMap<key, argkey, value, argvalue> {   \
    declare(name)                                                     \
   public:                                                            \
    typedef key BASE_KEY;                                             \
    typedef argkey BASE_ARG_KEY;                                      \
    typedef value BASE_VALUE;                                         \
    typedef argvalue BASE_ARG_VALUE;                                  \
    explicit name(int blockSize = 10) : CMap(blockSize) {}            \
    ~name() override;                                                 \
    AFX_SERIALIZE_##declare                                           \
  };

AFX_DECLARE_MAP(CMapStringToPtr, CString, LPCSTR, void*, void*, DECLARE_DYNAMIC)
AFX_DECLARE_MAP(CMapStringToOb, CString, LPCSTR, CObject*, CObject*, DECLARE_SERIAL)
AFX_DECLARE_MAP(CMapStringToString, CString, LPCSTR, CString, LPCSTR, DECLARE_SERIAL)
AFX_DECLARE_MAP(CMapPtrToPtr, void*, void*, void*, void*, DECLARE_DYNAMIC)
AFX_DECLARE_MAP(CMapPtrToWord, void*, void*, WORD, WORD, DECLARE_DYNAMIC)
AFX_DECLARE_MAP(CMapWordToPtr, WORD, WORD, void*, void*, DECLARE_DYNAMIC)
AFX_DECLARE_MAP(CMapWordToOb, WORD, WORD, CObject*, CObject*, DECLARE_SERIAL)

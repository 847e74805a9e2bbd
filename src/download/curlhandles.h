#ifndef CURLHANDLES_H
#define CURLHANDLES_H

// libcurl's handles for the download library's own sources alone: on Windows
// curl.h brings in windows.h, whose UpdateWindow would collide with the window
// class, so no header outside this folder may include this one.

#include <curl/curl.h>

#include <memory>

struct CurlEasyCleanup
{
    void operator()(CURL *easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlListCleanup
{
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
using CurlList = std::unique_ptr<curl_slist, CurlListCleanup>;

#endif // CURLHANDLES_H

// A vector that keeps up to N elements inside itself and moves to the heap
// only beyond them: the engine's texts of one composition (at most 128
// units) are built and dropped on every key, and would otherwise cost an
// allocation each. Elements are trivially copyable; iterators are pointers.
// A range given to the constructor or to insert must not lie in the vector
// it is inserted into.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <type_traits>

namespace ime {

template <class T, size_t N>
class InlineVector {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  InlineVector() = default;
  InlineVector(std::initializer_list<T> items) { Append(items.begin(), items.size()); }
  InlineVector(const T* first, const T* last) { Append(first, static_cast<size_t>(last - first)); }
  InlineVector(const InlineVector& other) { Append(other.data(), other.size()); }
  InlineVector& operator=(const InlineVector& other) {
    if (this != &other) {
      size_ = 0;
      Append(other.data(), other.size());
    }
    return *this;
  }

  T* data() { return heap_ ? heap_.get() : reinterpret_cast<T*>(inline_); }
  const T* data() const { return heap_ ? heap_.get() : reinterpret_cast<const T*>(inline_); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* begin() { return data(); }
  T* end() { return data() + size_; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size_; }
  T& operator[](size_t i) { return data()[i]; }
  const T& operator[](size_t i) const { return data()[i]; }
  T& front() { return data()[0]; }
  const T& front() const { return data()[0]; }
  T& back() { return data()[size_ - 1]; }
  const T& back() const { return data()[size_ - 1]; }

  void clear() { size_ = 0; }
  // Makes room for n more elements at the end and returns them, for the
  // caller to fill.
  T* extend(size_t n) {
    Reserve(size_ + n);
    T* added = data() + size_;
    size_ += n;
    return added;
  }
  void push_back(const T& item) {
    Reserve(size_ + 1);
    data()[size_++] = item;
  }
  T* insert(const T* pos, const T* first, const T* last) {
    const size_t at = static_cast<size_t>(pos - data());
    const size_t n = static_cast<size_t>(last - first);
    Reserve(size_ + n);
    T* d = data();
    for (size_t i = size_; i-- > at;) d[i + n] = d[i];
    Copy(d + at, first, n);
    size_ += n;
    return d + at;
  }
  T* erase(const T* first, const T* last) {
    T* d = data();
    const size_t at = static_cast<size_t>(first - d);
    const size_t n = static_cast<size_t>(last - first);
    for (size_t i = at; i + n < size_; ++i) d[i] = d[i + n];
    size_ -= n;
    return d + at;
  }
  T* erase(const T* pos) { return erase(pos, pos + 1); }

  bool operator==(const InlineVector& other) const {
    return size_ == other.size_ && std::equal(begin(), end(), other.begin());
  }

 private:
  // The texts of a key are a few elements: an element loop costs less than
  // a call into the C library's memcpy.
  static void Copy(T* to, const T* from, size_t n) {
    for (size_t i = 0; i < n; ++i) to[i] = from[i];
  }
  void Append(const T* items, size_t n) {
    Reserve(size_ + n);
    Copy(data() + size_, items, n);
    size_ += n;
  }
  void Reserve(size_t n) {
    if (n <= capacity_) return;
    const size_t grown = std::max(n, 2 * capacity_);
    std::unique_ptr<T[]> bigger(new T[grown]);
    Copy(bigger.get(), data(), size_);
    heap_ = std::move(bigger);
    capacity_ = grown;
  }

  // Raw room: the elements are copied in, never constructed one by one.
  alignas(T) unsigned char inline_[N * sizeof(T)];
  std::unique_ptr<T[]> heap_;
  size_t size_ = 0;
  size_t capacity_ = N;
};

}  // namespace ime

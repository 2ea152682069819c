// Objects a workflow could not turn. The workflow does all it can and then raises this, and the dialog says in its
// balloon what was left out and why.
#pragma once

#include <stdexcept>
#include <string>

namespace swivex {

enum class TLeftOut {
  Mesh,              // only polygon or polyface meshes were picked: the capture keeps the previous values
  MeshBesideOthers,  // meshes were picked with lines or polylines: the capture shows those
  OutsideUcsPlane,  // a 2D polyline does not lie in the x-y plane of the UCS: 作成 drew the other objects
};

class TObjectsLeftOut : public std::runtime_error {
 public:
  explicit TObjectsLeftOut(TLeftOut what) : std::runtime_error("objects left out"), What_(what) {}
  TLeftOut What() const { return What_; }

 private:
  TLeftOut What_;
};

// The balloon's title and text (UTF-8).
inline constexpr const char* kLeftOutTitle = "回転できない図形";
inline std::string LeftOutText(TLeftOut what) {
  switch (what) {
    case TLeftOut::Mesh:
      return "ポリゴン メッシュとポリフェイス メッシュは回転できません。表示は前の値のままです。";
    case TLeftOut::MeshBesideOthers:
      return "ポリゴン メッシュとポリフェイス メッシュは回転できません。ほかの図形を取り込みました。";
    case TLeftOut::OutsideUcsPlane:
      return "現在の UCS の XY 平面にないポリラインは作成していません。ほかの図形は作成しました。";
  }
  return {};
}

}  // namespace swivex

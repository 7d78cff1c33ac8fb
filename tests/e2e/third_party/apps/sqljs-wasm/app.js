// SQLite compiled to WebAssembly: a table written and queried.
window.appResult = (async () => {
  const SQL = await initSqlJs({ locateFile: (file) => `lib/${file}` });
  const db = new SQL.Database();
  db.run("CREATE TABLE scores (player TEXT, points INTEGER)");
  db.run("INSERT INTO scores VALUES ('ada', 30), ('bo', 12), ('cy', 45)");
  const [best] = db.exec("SELECT player, points FROM scores ORDER BY points DESC LIMIT 1")[0].values;
  const [[total]] = db.exec("SELECT sum(points) FROM scores")[0].values;
  const [[version]] = db.exec("SELECT sqlite_version()")[0].values;
  return { "best player": best.join(" "), "total points": total, "sqlite": version.split(".")[0] };
})();
